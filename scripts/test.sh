#!/usr/bin/env bash
# Builds Tormell twice and runs every test on each build: once optimised with
# debug information, once with the address and undefined-behaviour sanitizers;
# then, if clang can be installed, builds the program, the record window's
# module and the unit and gui tests with clang too and runs the unit tests,
# and fuzzes the text rules for half a minute.
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

# A second compiler: its warnings fail the build too. The gui tests are built
# (they compile the windows and the record window's code) but run in the two
# builds above; the unit tests run here as well.
clang_build() {
  local dir=build/ci-clang clang_started=$SECONDS
  echo "== $dir"
  CXX=clang++ cmake -S . -B "$dir" "${launcher[@]}" -DTORMELL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$dir" -j"$jobs" --target tormell tormell_record_window unit_tests gui_tests
  (cd "$dir" && ctest --output-on-failure -j2 -L '^unit$')
  echo "== $dir: built and unit-tested in $((SECONDS - clang_started)) s"
}

# The text rules under libFuzzer for a bounded time; it comes with clang.
fuzz_seconds=30
if deps=$(bash scripts/install-deps.sh clang libclang-rt-dev 2>&1); then
  [[ -z $deps ]] || echo "$deps"
  clang_build
  bash scripts/fuzz.sh "${fuzz_seconds}s"
else
  echo "== clang build and fuzz skipped: clang and libFuzzer could not be installed: ${deps##*$'\n'}"
fi
echo "== all tests passed in $((SECONDS - started)) s"
