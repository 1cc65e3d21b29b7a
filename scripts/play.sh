#!/usr/bin/env bash
# Builds Tormell (Release) and starts it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/install-deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "${launcher[@]}" >/dev/null
# The whole build: the game and the theme icons `cmake --install` puts in place.
cmake --build build/release -j"$(nproc)"
# With no display to show it on, the game says so in one line, with a command
# that starts it, as printed, for a VNC viewer.
exec build/release/src/tormell
