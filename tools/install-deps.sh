#!/usr/bin/env bash
# Installs the Debian packages Driftglass needs. `tools/install-deps.sh run` installs what
# building, running and packaging the Linux program takes; with no argument (or `test`) it
# also installs what the tests, the Windows build and the benchmarks take.
# Does nothing when they are all present; uses sudo when not run as root.
set -euo pipefail

packages=(
  # build and run the Linux program
  cmake make g++ pkg-config
  libgl-dev libglu1-mesa-dev libglew-dev libx11-dev libxrandr-dev libxinerama-dev libgtk-3-dev
  libpng-dev
  libopenal-dev
  # run without a display: a virtual X server and Mesa's software OpenGL
  xvfb xauth libgl1-mesa-dri
  # the Debian package
  dpkg-dev file
)
if [[ "${1:-test}" != run ]]; then
  packages+=(
    # tests, and a nested X server of two monitors for them
    libxtst-dev libgtest-dev googletest xserver-xephyr
    # fuzzing with libFuzzer
    clang libclang-rt-14-dev
    # the Windows build and its installer, and Wine to run them
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 wine wine64 nsis
    # the package's checks, and the daemon to run it under
    man-db lintian xscreensaver
  )
fi

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
