#!/usr/bin/env bash
# Soak test: runs the whole scene (sound on OpenAL's null device) at full speed, vsync off, on a
# virtual X server for MINUTES under AddressSanitizer, LeakSanitizer and UBSan, and samples the
# program's resident memory every few seconds.
#
# It passes when the program ends cleanly on SIGTERM (its orderly shutdown, then the end by
# that signal: status 143), no sanitizer reports anything (leaks included, checked before it
# ends), and memory is flat after the first minute: the least-squares slope of
# resident memory over the rest of the run stays under a limit in kilobytes per minute.
# Resident memory wanders by a megabyte or more either way within a minute (the allocator's and
# the GL driver's pools): over 2 minutes the wander alone has looked like up to 1.6 MB of
# growth. So a run of M minutes judges growth of 3 MB over its last M-1 minutes: the limit is
# 3072/(M-1) KB/min, and 64 KB/min for runs of 34 minutes or more, or DRIFTGLASS_SOAK_SLOPE_KB
# when set. A run is at least 3 minutes: over the 50 s that a 2-minute run measures, the
# wander alone has sloped by 2.9 MB a minute. An hour's run thus fails on a leak of one
# 16-byte block per frame at 60 frames/s (56 KB/min of data, more with the sanitizer's own
# bookkeeping); LeakSanitizer finds such a leak in any run, however short.
#
# Writes out/soak/memory.csv (seconds, resident KB) and, where gnuplot is
# installed, out/soak/memory.png.
# Usage: tools/soak.sh MINUTES
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=${1:-}
if [[ ! "$minutes" =~ ^[1-9][0-9]*$ || "$minutes" -lt 3 ]]; then
  echo "usage: tools/soak.sh MINUTES   (a whole number of minutes, at least 3)" >&2
  exit 2
fi

if [[ -z "${DRIFTGLASS_SOAK_XVFB:-}" ]]; then
  bash tools/install-deps.sh
  cmake --preset linux-asan >/dev/null
  cmake --build --preset linux-asan -j"$(nproc)" --target driftglass >/dev/null
  DRIFTGLASS_SOAK_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

out=out/soak
rm -rf "$out" && mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/driftglass"
printf '[Driftglass]\nEnableFPS=1\nEnableVSync=0\n' \
  >"$work/config/driftglass/driftglass.conf"

interval=5
slope_limit=${DRIFTGLASS_SOAK_SLOPE_KB:-$(( minutes > 33 ? 64 : 3072 / (minutes - 1) ))}
# A small quarantine, so that freed blocks held back for use-after-free checks stop adding to
# resident memory within the first minute. The Mesa driver is preloaded so that it stays mapped
# to the end: unloaded at exit, what it keeps would be reported as leaks of an unknown module.
export ASAN_OPTIONS="quarantine_size_mb=16:detect_leaks=1:abort_on_error=0"
preload="$(g++ -print-file-name=libasan.so) /usr/lib/$(g++ -dumpmachine)/dri/swrast_dri.so"
export UBSAN_OPTIONS="print_stacktrace=1"

LD_PRELOAD="$preload" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" ALSOFT_DRIVERS=null \
  build/linux-asan/driftglass -window --size 1024x768 --delay 0 >"$work/stdout" 2>"$work/stderr" &
pid=$!

echo "seconds,rss_kb" >"$out/memory.csv"
end=$((SECONDS + 60 * minutes))
start=$SECONDS
while ((SECONDS < end)); do
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
  if [[ -z "$rss" ]]; then
    echo "soak: the saver ended by itself after $((SECONDS - start)) s" >&2
    cat "$work/stderr" >&2
    exit 1
  fi
  echo "$((SECONDS - start)),$rss" >>"$out/memory.csv"
  sleep "$interval"
done

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
cp "$work/stderr" "$out/stderr.txt"
cp "$work/state/driftglass/driftglass.log" "$out/driftglass.log" 2>/dev/null || true

failed=0
if ((status != 128 + 15)); then
  echo "soak: the saver ended with status $status on SIGTERM, not by the signal (143)" >&2
  failed=1
fi
if grep -qE "Sanitizer|runtime error" "$work/stderr"; then
  echo "soak: the sanitizers reported:" >&2
  cat "$work/stderr" >&2
  failed=1
fi

# Least-squares slope of resident memory after the first minute, in KB per minute.
read -r samples slope first last peak < <(awk -F, 'NR > 1 && $1 > 60 {
    n++; sx += $1; sy += $2; sxx += $1 * $1; sxy += $1 * $2
    if (n == 1) first = $2; last = $2; if ($2 > peak) peak = $2
  } END {
    d = n * sxx - sx * sx
    printf "%d %.1f %d %d %d\n", n, (d > 0 ? 60 * (n * sxy - sx * sy) / d : 0), first, last, peak
  }' "$out/memory.csv")
fps=$(grep -o "FPS = [0-9.]*" "$out/driftglass.log" 2>/dev/null | tail -1 | cut -d" " -f3 || true)
echo "soak: $minutes min at ${fps:-?} frames/s, $samples samples after the first minute:" \
     "resident ${first} KB -> ${last} KB (peak ${peak} KB), slope ${slope} KB/min" \
     "(limit ${slope_limit})"
if ((samples < 3)); then
  echo "soak: too few samples after the first minute to judge memory" >&2
  failed=1
elif awk -v s="$slope" -v l="$slope_limit" 'BEGIN { exit !(s > l) }'; then
  echo "soak: resident memory grows by ${slope} KB/min" >&2
  failed=1
fi

if command -v gnuplot >/dev/null; then
  gnuplot <<EOF
set terminal pngcairo size 900,480 noenhanced
set output "$out/memory.png"
set datafile separator ","
set title "driftglass soak, $minutes min under ASan+LSan: slope after the first minute ${slope} KB/min"
set xlabel "minutes"
set ylabel "resident memory (MB)"
set grid
set key off
plot "$out/memory.csv" every ::1 using (\$1/60):(\$2/1024) with lines lw 2
EOF
  echo "soak: memory plot in $out/memory.png"
fi
exit "$failed"
