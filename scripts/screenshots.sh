#!/usr/bin/env bash
# Plays on a virtual X server, keeping eight rounds in a record of the session's
# own, and writes the README's pictures to docs/screenshots/, in window frames
# drawn by openbox.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "${launcher[@]}" >/dev/null
cmake --build build/release --target tormell -j"$(nproc)"
mkdir -p docs/screenshots
python3 scripts/screenshots.py build/release/src/tormell docs/screenshots
