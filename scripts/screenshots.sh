#!/usr/bin/env bash
# Plays on a virtual X server, keeping eight rounds in a record of the session's
# own, and writes the README's pictures to docs/screenshots/. Uses openbox for
# window frames when it can be installed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh
bash scripts/install-deps.sh openbox || echo "screenshots: no openbox; the pictures will have no window frames"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "${launcher[@]}" >/dev/null
cmake --build build/release --target tormell -j"$(nproc)"
mkdir -p docs/screenshots
python3 scripts/screenshots.py build/release/src/tormell docs/screenshots
