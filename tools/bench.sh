#!/usr/bin/env bash
# Benchmark: the saver (the whole scene, sound on OpenAL's null device) against two of the
# best-known GL screen savers, xscreensaver's `atlantis` and `gears` (installed from Debian's
# xscreensaver-gl-extra and xscreensaver-gl), full screen on one virtual X server per size, the programs alternating
# over several rounds. Frames are counted at the buffer swap by one preloaded counter for
# every program (tools/bench/swap_counter.c).
#
# Two settings are measured:
#   free      vsync off and `-delay 0` for us, `-delay 0` for the hacks: frames/s, CPU ms per frame,
#             start to first frame, resident memory; and our ratio to each anchor
#   defaults  each program as installed: frames/s and CPU ms per second, what a user pays
#   low/high  ours with its "Frame rate" slider at either end (-delay 100000 and -delay 0)
# Each figure is the median over the rounds, with the lowest and highest in brackets.
# Usage: tools/bench.sh [ROUNDS] [WxH ...]   (default: 3 rounds at 1024x768 and 1920x1080)
# DRIFTGLASS_BENCH_PROGRAM=PATH measures another build of ours instead of this tree's;
# DRIFTGLASS_BENCH_BEFORE=PATH measures one more, in the same rounds, as "before" (an older
# build, so that a change is measured side by side with what it changes).
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ -z "${DRIFTGLASS_BENCH_SIZE:-}" ]]; then
  bash tools/install-deps.sh
  if [[ ! -x /usr/libexec/xscreensaver/atlantis || ! -x /usr/libexec/xscreensaver/gears ]]; then
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
      xscreensaver-gl xscreensaver-gl-extra >/dev/null
  fi
  cmake --preset linux >/dev/null
  cmake --build --preset linux -j"$(nproc)" --target driftglass >/dev/null
  mkdir -p build/bench
  gcc -shared -fPIC -O2 -Wall -o build/bench/swap_counter.so tools/bench/swap_counter.c -ldl
  rounds=${1:-3}
  shift || true
  sizes=("$@")
  [[ ${#sizes[@]} -gt 0 ]] || sizes=(1024x768 1920x1080)
  results=$(mktemp)
  trap 'rm -f "$results"' EXIT
  for size in "${sizes[@]}"; do
    DRIFTGLASS_BENCH_SIZE=$size xvfb-run -a -s "-screen 0 ${size}x24" \
      bash "$0" "$rounds" >>"$results"
  done
  # Lines: size program setting fps cpu_ms_per_frame start_ms rss_kb cpu_ms_per_second
  awk '
    function median(list, n,   sorted, i, j, t) {
      for (i = 1; i <= n; ++i) sorted[i] = list[i]
      for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j)
        if (sorted[j] < sorted[i]) { t = sorted[i]; sorted[i] = sorted[j]; sorted[j] = t }
      low = sorted[1]; high = sorted[n]
      return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
    }
    function figure(key, column, format,   n, list, i, m) {
      n = count[key]
      for (i = 1; i <= n; ++i) list[i] = value[key, i, column]
      m = median(list, n)
      return sprintf(format " [" format "-" format "]", m, low, high)
    }
    function mid(key, column,   n, list, i) {
      n = count[key]
      for (i = 1; i <= n; ++i) list[i] = value[key, i, column]
      return median(list, n)
    }
    {
      key = $1 SUBSEP $2 SUBSEP $3
      if (!(key in count)) { order[++keys] = key }
      n = ++count[key]
      for (c = 4; c <= 8; ++c) value[key, n, c] = $c
      if (!($1 in seenSize)) { seenSize[$1] = 1; sizes[++sizeCount] = $1 }
    }
    END {
      for (s = 1; s <= sizeCount; ++s) {
        size = sizes[s]
        printf "\n%s, vsync off (rounds: %d)\n", size, count[size SUBSEP "driftglass" SUBSEP "free"]
        printf "  %-10s %-22s %-22s %-20s %-18s\n", "program", "frames/s", "CPU ms/frame",
               "start to 1st frame", "resident MB"
        split("driftglass before atlantis gears", programs, " ")
        for (p = 1; p <= 4; ++p) {
          key = size SUBSEP programs[p] SUBSEP "free"
          if (!(key in count)) continue
          printf "  %-10s %-22s %-22s %-20s %-18s\n", programs[p], figure(key, 4, "%.1f"),
                 figure(key, 5, "%.2f"), figure(key, 6, "%.0f") " ms",
                 sprintf("%.0f", mid(key, 7) / 1024)
        }
        ours = size SUBSEP "driftglass" SUBSEP "free"
        for (p = 2; p <= 4; ++p) {
          key = size SUBSEP programs[p] SUBSEP "free"
          if (!(key in count) || !(ours in count)) continue
          printf "  ours / %-8s frames/s x%.2f, CPU per frame x%.2f, memory x%.2f, start %+.0f ms\n",
                 programs[p], mid(ours, 4) / mid(key, 4), mid(ours, 5) / mid(key, 5),
                 mid(ours, 7) / mid(key, 7), mid(ours, 6) - mid(key, 6)
        }
        printf "%s, each program at its defaults\n", size
        for (p = 1; p <= 4; ++p) {
          key = size SUBSEP programs[p] SUBSEP "defaults"
          if (!(key in count)) continue
          printf "  %-10s %s frames/s, %s CPU ms per second\n", programs[p],
                 figure(key, 4, "%.1f"), figure(key, 8, "%.0f")
        }
        ours = size SUBSEP "driftglass" SUBSEP "defaults"
        key = size SUBSEP "before" SUBSEP "defaults"
        if ((key in count) && (ours in count))
          printf "  ours / before: CPU per second x%.3f\n", mid(ours, 8) / mid(key, 8)
        printf "%s, our frame-rate slider at its ends\n", size
        split("low high", ends, " ")
        split("-delay 100000|-delay 0", endArguments, "|")
        for (e = 1; e <= 2; ++e) {
          key = size SUBSEP "driftglass" SUBSEP ends[e]
          if (!(key in count)) continue
          printf "  %-15s %s frames/s, %s CPU ms per second\n", endArguments[e],
                 figure(key, 4, "%.1f"), figure(key, 8, "%.0f")
        }
      }
    }' "$results"
  exit 0
fi

# Inside the virtual X server of one size: rounds of every program in every setting.
rounds=${1:-3}
size=$DRIFTGLASS_BENCH_SIZE
warmup=3
seconds=8
hacks=/usr/libexec/xscreensaver
program=${DRIFTGLASS_BENCH_PROGRAM:-build/linux/driftglass}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for setting in free defaults; do
  mkdir -p "$work/$setting/config/driftglass"
done
printf '[Driftglass]\nEnableVSync=0\n' \
  >"$work/free/config/driftglass/driftglass.conf"
ticks=$(getconf CLK_TCK)

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Runs one program full screen and prints: fps cpu_ms_per_frame start_ms rss_kb cpu_ms_per_s
measure() {
  local out="$work/swaps" start pid f0 f1 c0 c1 first rss
  rm -f "$out"
  start=${EPOCHREALTIME/./}
  SWAP_COUNTER_OUT="$out" LD_PRELOAD="$PWD/build/bench/swap_counter.so" "$@" \
    >/dev/null 2>&1 &
  pid=$!
  # The warm-up runs from the first frame, so that a slow start cannot leave it without
  # frames (and the start-up figure without a first one).
  local waited=0
  while [[ ! -s "$out" ]] && ((waited++ < 300)); do sleep 0.1; done
  if [[ ! -s "$out" ]]; then
    echo "bench: $1 drew no frame in 30 s" >&2
    kill -TERM "$pid" 2>/dev/null || true
    exit 1
  fi
  sleep "$warmup"
  read -r f0 first <"$out"
  if [[ -z "$first" ]]; then
    echo "bench: $1 wrote no first swap" >&2
    exit 1
  fi
  c0=$(cpu_ticks "$pid")
  sleep "$seconds"
  read -r f1 _ <"$out"
  c1=$(cpu_ticks "$pid")
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v f0="$f0" -v f1="$f1" -v c0="$c0" -v c1="$c1" -v t="$ticks" -v s="$seconds" \
      -v first="$first" -v start="$start" -v rss="$rss" 'BEGIN {
    frames = f1 - f0; if (frames < 1) frames = 1
    cpu = 1000 * (c1 - c0) / t
    printf "%.2f %.3f %.0f %d %.0f\n", frames / s, cpu / frames, first - start / 1000, rss, cpu / s
  }'
}

# One line of figures for the summary: SIZE PROGRAM SETTING and what `measure` prints.
row() {
  local name=$1 setting=$2 figures
  shift 2
  figures=$(measure "$@") || exit 1
  echo "$size $name $setting $figures"
}

for ((round = 1; round <= rounds; ++round)); do
  for setting in free defaults; do
    delay=()
    [[ $setting == free ]] && delay=(-delay 0)
    XDG_CONFIG_HOME="$work/$setting/config" XDG_STATE_HOME="$work/state" ALSOFT_DRIVERS=null \
      row driftglass "$setting" "$program" -root "${delay[@]}"
    if [[ -n "${DRIFTGLASS_BENCH_BEFORE:-}" ]]; then
      XDG_CONFIG_HOME="$work/$setting/config" XDG_STATE_HOME="$work/state" ALSOFT_DRIVERS=null \
        row before "$setting" "$DRIFTGLASS_BENCH_BEFORE" -root "${delay[@]}"
    fi
    for hack in atlantis gears; do
      row "$hack" "$setting" "$hacks/$hack" -root "${delay[@]}"
    done
  done
  # Our "Frame rate" slider at its two ends, the other settings at their defaults.
  for setting in low high; do
    delay=(-delay 100000)
    [[ $setting == high ]] && delay=(-delay 0)
    XDG_CONFIG_HOME="$work/defaults/config" XDG_STATE_HOME="$work/state" ALSOFT_DRIVERS=null \
      row driftglass "$setting" "$program" -root "${delay[@]}"
  done
done
