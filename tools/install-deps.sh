#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Driftglass needs.
# Does nothing when they are all present; uses sudo when not run as root.
set -euo pipefail

packages=(
  # build
  cmake make g++ pkg-config
  libgl-dev libglu1-mesa-dev libglew-dev libx11-dev libxrandr-dev libxtst-dev libgtk-3-dev libpng-dev
  libturbojpeg0-dev libopenal-dev
  libgtest-dev googletest
  # fuzzing with libFuzzer
  clang libclang-rt-14-dev
  # the Windows build, and Wine to run it
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 wine wine64
  nsis
  # run and test on a machine without a display
  xvfb xauth libgl1-mesa-dri
  # the Debian package, its checks, and the daemon to run it under
  dpkg-dev file man-db lintian xscreensaver
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
  "${missing[@]}" >/dev/null
