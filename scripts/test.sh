#!/usr/bin/env bash
# Builds Tormell twice and runs every test on each build: once optimised with
# debug information, once with the address and undefined-behaviour sanitizers;
# then fuzzes the text rules for half a minute, if clang can be installed.
# Exits non-zero when a build, a test or the fuzzing fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Lets clones in other folders share the cache.
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
fi
jobs=$(nproc)

run() {
  local dir=$1
  shift
  echo "== $dir"
  # Warnings fail the project's own builds, not a packager's.
  cmake -S . -B "$dir" "${launcher[@]}" -DTORMELL_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j2)
}

started=$SECONDS
run build/ci -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== bench probes, built"
cmake --build build/ci --target bench_probes -j"$jobs"
run build/ci-asan -DCMAKE_BUILD_TYPE=Debug -DTORMELL_SANITIZE=ON

# The text rules under libFuzzer for a bounded time; it comes with clang.
fuzz_seconds=30
if deps=$(bash scripts/install-deps.sh clang libclang-rt-dev 2>&1); then
  [[ -z $deps ]] || echo "$deps"
  bash scripts/fuzz.sh "${fuzz_seconds}s"
else
  echo "== fuzz skipped: clang and libFuzzer could not be installed: ${deps##*$'\n'}"
fi
echo "== all tests passed in $((SECONDS - started)) s"
