#!/usr/bin/env bash
# Redraws the README's screenshots into docs/screenshots/: the Linux program's own snapshot
# of a fixed frame ten seconds in (banner showing), and the frame the Windows end-to-end test
# captures from the full-screen saver under Wine at the same moment. Both builds must exist.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$PWD/docs/screenshots
mkdir -p "$out"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
XDG_STATE_HOME=$home XDG_CONFIG_HOME=$home ALSOFT_DRIVERS=null xvfb-run -a \
  build/linux/driftglass -window --size 1280x720 --seed 7 --fixed-step 50 --frames 200 \
  --snapshot "$out/linux.png"
WINEPREFIX="$PWD/build/wine-prefix" WINEDEBUG=-all DRIFTGLASS_SCREENSHOT_DIR=$out \
  xvfb-run -a -s "-screen 0 1280x720x24" build/linux/tests/driftglass_e2e_tests \
  --gtest_filter='WindowsSaverTest.FullScreen*'
ls -l "$out"
