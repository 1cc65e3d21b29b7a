#!/usr/bin/env bash
# Builds the libFuzzer target for the text rules with clang and runs it.
#   scripts/fuzz.sh [runs]    runs defaults to 1000000
# Extra arguments after the run count go to libFuzzer (e.g. -max_total_time=60).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/fuzz"
runs="${1:-1000000}"
shift || true

have_fuzzer_runtime() {
    compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null
}
if ! command -v clang++ >/dev/null || ! have_fuzzer_runtime; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    $sudo apt-get install -y --no-install-recommends clang libclang-rt-14-dev
fi

CXX=clang++ cmake -S "$root" -B "$build" -DTORMELL_FUZZ=ON -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target fuzz_text_rules -j"$(nproc)"

# libFuzzer adds what it finds to the first corpus directory: a scratch copy
# keeps the repository's seeds a handful.
corpus="$build/corpus"
mkdir -p "$corpus"
cp "$root"/fuzz/corpus/* "$corpus"/
cd "$build"
exec "$build/fuzz/fuzz_text_rules" -runs="$runs" -print_final_stats=1 "$@" "$corpus"
