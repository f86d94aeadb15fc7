#!/usr/bin/env bash
# Sets up, builds and runs the saver in a window of its own. Without a display it renders a
# few seconds of the scene on a virtual X server and writes a snapshot instead.
# Extra arguments go to the program (try --help).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)" --target driftglass >/dev/null

if [[ -n "${DISPLAY:-}" ]]; then
  exec build/linux/driftglass "$@"
fi

mkdir -p out
snapshot="$PWD/out/driftglass-snapshot.png"
echo "No display found: rendering 300 frames on a virtual X server instead (no sound)."
ALSOFT_DRIVERS=null xvfb-run -a -s "-screen 0 1024x768x24" \
  build/linux/driftglass -window --size 1024x768 --fixed-step 16 --frames 300 \
  --snapshot "$snapshot" "$@"
echo "Snapshot of the last frame: $snapshot"
