#!/usr/bin/env bash
# What a second monitor costs: the saver full screen at its defaults on a display of one
# monitor and on one of two side by side (Xephyr with Xinerama heads of WxH, nested in a
# virtual X server), alternating over several rounds. Prints the CPU milliseconds a second
# and the frames a second of each (medians, lowest and highest in brackets) and the ratio.
# Usage: tools/bench-monitors.sh [ROUNDS] [WxH]   (default: 3 rounds of 1280x720 monitors)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
head=${2:-1280x720}
bash tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)" --target driftglass >/dev/null
mkdir -p build/bench
gcc -shared -fPIC -O2 -Wall -o build/bench/swap_counter.so tools/bench/swap_counter.c -ldl
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
width=${head%x*}
height=${head#*x}
Xvfb :97 -screen 0 "$((2 * width + 16))x$((height + 16))x24" -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
sleep 1
DISPLAY=:97 Xephyr :98 -screen "$head" -ac -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
DISPLAY=:97 Xephyr :99 +xinerama -screen "$head" -screen "$head" -ac -nolisten tcp \
  >/dev/null 2>&1 &
pids+=($!)
sleep 2
ticks=$(getconf CLK_TCK)

# One run on DISPLAY $1: "CPU_MS_PER_SECOND FRAMES_PER_SECOND" over 8 s after 3 s.
measure() {
  local out="$work/swaps" pid c0 c1 f0 f1
  rm -f "$out"
  DISPLAY=$1 XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" ALSOFT_DRIVERS=null \
    SWAP_COUNTER_OUT="$out" LD_PRELOAD="$PWD/build/bench/swap_counter.so" \
    build/linux/driftglass -s >/dev/null 2>&1 &
  pid=$!
  local waited=0
  while [[ ! -s "$out" ]] && ((waited++ < 300)); do sleep 0.1; done
  sleep 3
  read -r f0 _ <"$out"
  c0=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
  sleep 8
  read -r f1 _ <"$out"
  c1=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v c="$((c1 - c0))" -v f="$((f1 - f0))" -v t="$ticks" \
    'BEGIN { printf "%.0f %.1f\n", 1000 * c / t / 8, f / 8 }'
}

for ((round = 1; round <= rounds; ++round)); do
  echo "one $(measure :98)" >>"$work/results"
  echo "two $(measure :99)" >>"$work/results"
done
awk -v head="$head" '
  function median(list, n,   s, i, j, t) {
    for (i = 1; i <= n; ++i) s[i] = list[i]
    for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (s[j] < s[i]) { t = s[i]; s[i] = s[j]; s[j] = t }
    low = s[1]; high = s[n]
    return n % 2 ? s[(n + 1) / 2] : (s[n / 2] + s[n / 2 + 1]) / 2
  }
  { n[$1]++; cpu[$1, n[$1]] = $2; fps[$1, n[$1]] = $3 }
  END {
    printf "full screen at the defaults, monitors of %s (rounds: %d)\n", head, n["one"]
    for (k = 1; k <= 2; ++k) {
      key = k == 1 ? "one" : "two"
      for (i = 1; i <= n[key]; ++i) c[i] = cpu[key, i]
      m[key] = median(c, n[key]); cl = low; ch = high
      for (i = 1; i <= n[key]; ++i) f[i] = fps[key, i]
      fm = median(f, n[key])
      printf "  %s monitor%s: %d [%d-%d] CPU ms per second at %.1f frames/s\n", key,
             k == 1 ? " " : "s", m[key], cl, ch, fm
    }
    printf "  two / one: x%.2f\n", m["two"] / m["one"]
  }' "$work/results"
