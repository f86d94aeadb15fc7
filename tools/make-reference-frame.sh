#!/usr/bin/env bash
# Draws the reference frame the picture test compares against: seed 11, 50 ms steps, frame
# 200 (ten seconds in: the banner, both flowers and the creature in view) at 400x300. Run it
# only when the picture is meant to change, and look at the result before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)" --target driftglass >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" ALSOFT_DRIVERS=null \
  xvfb-run -a -s "-screen 0 1024x768x24" build/linux/driftglass -window --size 400x300 \
  --seed 11 --fixed-step 50 --frames 200 --snapshot "$PWD/tests/e2e/reference/frame.png"
echo "tests/e2e/reference/frame.png"
