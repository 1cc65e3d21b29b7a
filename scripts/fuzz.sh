#!/usr/bin/env bash
# Fuzzes the text rules with libFuzzer (clang, address and undefined-behaviour
# sanitizers): how a typed text becomes a number, a number becomes text, a
# double becomes a 16- or 32-bit integer, and a text becomes a grid count or a
# display time. Every result is compared with a reference reading.
# Usage: scripts/fuzz.sh [INPUTS | SECONDSs [LIBFUZZER OPTIONS...]]
#   a number of inputs (one million by default), or of seconds with an "s": 30s
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

limit=${1:-1000000}
shift || true
if [[ $limit =~ ^[0-9]+s$ ]]; then
  bound=(-max_total_time="${limit%s}")
elif [[ $limit =~ ^[0-9]+$ ]]; then
  bound=(-runs="$limit")
else
  echo "fuzz: '$limit' is neither a number of inputs nor of seconds (such as 30s)" >&2
  exit 2
fi
# libFuzzer and the sanitizer runtimes come with the compiler-rt package, which
# clang only recommends.
bash scripts/install-deps.sh clang libclang-rt-dev

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
dir=build/fuzz
CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DTORMELL_FUZZ=ON -DTORMELL_WERROR=ON \
  "${launcher[@]}" >/dev/null
cmake --build "$dir" --target fuzz_text_rules -j"$(nproc)"

# The seeds stay as they are in the source tree; what the fuzzer learns goes
# into a corpus of its own in the build folder.
corpus=$dir/corpus
mkdir -p "$corpus"
log=$dir/fuzz.log
started=$SECONDS
status=0
"$dir/fuzz/fuzz_text_rules" "${bound[@]}" -max_len=4096 -print_final_stats=1 -artifact_prefix="$dir/" "$@" "$corpus" fuzz/corpus >"$log" 2>&1 ||
  status=$?
# The summary, and on a fault the fuzzer's report with the failing input.
grep -E '^(stat::|Done|==[0-9]+==|SUMMARY|fuzz_text_rules:|  |artifact_prefix|Test unit written)' "$log" || true
inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "== fuzz: ${inputs:-?} inputs in $((SECONDS - started)) s, exit status $status (full log: $log)"
exit "$status"
