#!/usr/bin/env bash
# Draws the reference frames the picture test compares against, at 400x300 with 50 ms steps:
# seed 11 at frame 200 (ten seconds in: the banner, both flowers and the creature in view),
# and seed 3 at frame 1200 (a minute in, after the creature has sought, glided, darted,
# hovered and wriggled). Run it only when the picture is meant to change, and look at the
# results before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)" --target driftglass >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
draw() {  # SEED FRAMES NAME
  XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" ALSOFT_DRIVERS=null \
    xvfb-run -a -s "-screen 0 1024x768x24" build/linux/driftglass -window --size 400x300 \
    --seed "$1" --fixed-step 50 --frames "$2" --snapshot "$PWD/tests/e2e/reference/$3"
  echo "tests/e2e/reference/$3"
}
draw 11 200 frame.png
draw 3 1200 minute.png
