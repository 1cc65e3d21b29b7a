#!/usr/bin/env bash
# Installs the Debian packages Tormell needs to build, play and test.
# Quick when nothing is missing: only absent packages are handed to apt-get.
# Further package names given as arguments are installed too, if absent.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

wanted=(
  build-essential cmake make ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-noto-cjk
  # Qt's own dialogs and buttons in Japanese, as the rest of the game
  qt6-translations-l10n
  # the score record: Qt SQL's SQLite driver, and the record window's charts
  libqt6sql6-sqlite qt6-charts-dev
  # on Debian 12 find_package(Qt6 COMPONENTS Charts) needs the OpenGL
  # development package, which the Charts one does not pull in
  libqt6opengl6-dev
  # the end-to-end tests and the screenshots: a virtual X server, real pointer
  # events, window queries and screen grabs
  xvfb xauth xdotool x11-utils imagemagick python3
  # the end-to-end suite's second pass under a window manager, and its check
  # of what a screen reader reads, on a private session bus
  openbox dbus at-spi2-core python3-pyatspi
  # installation and package tests: the desktop-file and metainfo validators,
  # and what cpack needs to build a .deb with its library dependencies
  desktop-file-utils appstream dpkg-dev file
  "$@"
)
# Debian names the Qt SVG development package in one of two ways.
svg_names=(qt6-svg-dev libqt6svg6-dev)

# One dpkg-query for all names keeps the common case, nothing missing, quick.
declare -A status=()
while IFS=$'\t' read -r name state; do
  status[$name]=$state
done < <(dpkg-query -W -f='${Package}\t${db:Status-Status}\n' "${wanted[@]}" "${svg_names[@]}" 2>/dev/null || true)

installed() {
  [[ ${status[$1]:-} == installed ]]
}

missing=()
for package in "${wanted[@]}"; do
  installed "$package" || missing+=("$package")
done
svg_present=no
for package in "${svg_names[@]}"; do
  installed "$package" && svg_present=yes
done

if [[ ${#missing[@]} -eq 0 && $svg_present == yes ]]; then
  exit 0
fi

if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "install-deps: missing packages (${missing[*]}); run this script as root or install sudo" >&2
  exit 1
fi

"${as_root[@]}" apt-get update -qq
if [[ $svg_present == no ]]; then
  for package in "${svg_names[@]}"; do
    # Read the whole answer first: grep -q quitting early would fail the pipe.
    policy=$(apt-cache policy "$package" 2>/dev/null || true)
    if [[ $policy =~ Candidate:\ [0-9] ]]; then
      missing+=("$package")
      break
    fi
  done
fi
echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
