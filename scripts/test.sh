#!/usr/bin/env bash
# Builds Tormell twice and runs every test on each build: once optimised with
# debug information, once with the address and undefined-behaviour sanitizers.
# Exits non-zero when a build or a test fails.
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
  cmake -S . -B "$dir" "${launcher[@]}" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j2)
}

started=$SECONDS
run build/ci -DCMAKE_BUILD_TYPE=RelWithDebInfo
run build/ci-asan -DCMAKE_BUILD_TYPE=Debug -DTORMELL_SANITIZE=ON
echo "== all tests passed in $((SECONDS - started)) s"
