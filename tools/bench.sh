#!/usr/bin/env bash
# Frame-rate benchmark: runs the saver with vsync off on a virtual X server and prints frames
# per second and CPU milliseconds per frame, and how long a one-frame run takes (start-up,
# first frame and shutdown).
# Usage: tools/bench.sh [FRAMES] [WxH ...]   (default: 600 frames at 1024x768)
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ -z "${DRIFTGLASS_BENCH_XVFB:-}" ]]; then
  bash tools/install-deps.sh
  cmake --preset linux >/dev/null
  cmake --build --preset linux -j"$(nproc)" --target driftglass >/dev/null
  DRIFTGLASS_BENCH_XVFB=1 exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$@"
fi

frames=${1:-600}
shift || true
sizes=("$@")
[[ ${#sizes[@]} -gt 0 ]] || sizes=(1024x768)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/driftglass"
printf '[Software\\Tolvanet\\Driftglass #1 screensaver]\nEnableFPS=0\nEnableVSync=0\n' \
  >"$work/config/driftglass/driftglass.conf"

# Prints "wall user system" seconds of a run of $2 frames at size $1.
run() {
  TIMEFORMAT='%R %U %S'
  { time XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" ALSOFT_DRIVERS=null \
      build/linux/driftglass -window --size "$1" --seed 1 --fixed-step 16 --frames "$2" \
      >/dev/null 2>&1; } 2>&1
}

for size in "${sizes[@]}"; do
  read -r w1 u1 s1 < <(run "$size" 1)
  read -r wn un sn < <(run "$size" "$frames")
  awk -v size="$size" -v n="$frames" -v w1="$w1" -v u1="$u1" -v s1="$s1" \
      -v wn="$wn" -v un="$un" -v sn="$sn" 'BEGIN {
    frames = n - 1; wall = wn - w1; cpu = (un + sn) - (u1 + s1);
    if (wall <= 0) wall = 0.001;
    printf "%-10s %8.1f frames/s %7.2f CPU ms/frame   one-frame run %4.0f ms\n",
           size, frames / wall, 1000 * cpu / frames, 1000 * w1;
  }'
done
