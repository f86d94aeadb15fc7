#!/usr/bin/env bash
# Sets up, builds and runs the saver in a window of its own. Without a display it renders a
# few seconds of the scene on a virtual X server and writes a snapshot instead. Only what the
# Linux program needs is installed and built (the `release` preset, no tests).
# Extra arguments go to the program (try --help).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh run
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target driftglass >/dev/null

if [[ -n "${DISPLAY:-}" ]]; then
  exec build/release/driftglass "$@"
fi

mkdir -p out
snapshot="$PWD/out/driftglass-snapshot.png"
echo "No display found: rendering 300 frames on a virtual X server instead (no sound)."
xvfb-run -a -s "-screen 0 1024x768x24" \
  build/release/driftglass -window --size 1024x768 --fixed-step 16 --frames 300 --no-sound \
  --snapshot "$snapshot" "$@"
echo "Snapshot of the last frame: $snapshot"
