#!/usr/bin/env bash
# What a blanked screen costs: the installed hack and xscreensaver's `atlantis`, each run by
# the real xscreensaver daemon at the defaults of its settings (no arguments but --root), on
# one virtual X server, the two alternating over several rounds. For each blanking it waits
# a few seconds, then counts the hack process's CPU time over a stretch of seconds and prints
# it per second, with the frames the hack drew (counted at the buffer swap).
# Needs root (the daemon refuses to run as root, so an ordinary user is made for the run and
# removed after), the driftglass package installed, and xscreensaver-gl-extra for atlantis.
# Usage: tools/bench-daemon.sh [ROUNDS] [WxH]   (default: 3 rounds at 1280x1024)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
size=${2:-1280x1024}
[[ $(id -u) -eq 0 ]] || { echo "bench-daemon: run it as root" >&2; exit 1; }
[[ -x /usr/libexec/xscreensaver/driftglass ]] || {
  echo "bench-daemon: install the driftglass package first" >&2
  exit 1
}

if [[ -z "${BENCH_DAEMON_INSIDE:-}" ]]; then
  if [[ ! -x /usr/libexec/xscreensaver/atlantis ]]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      xscreensaver-gl-extra >/dev/null
  fi
  mkdir -p build/bench
  gcc -shared -fPIC -O2 -Wall -o build/bench/swap_counter.so tools/bench/swap_counter.c -ldl
  BENCH_DAEMON_INSIDE=1 exec xvfb-run -a -s "-screen 0 ${size}x24" bash "$0" "$rounds" "$size"
fi

user=dg-bench-$$
home=/home/$user
useradd -m -s /bin/sh "$user"
trap 'pkill -KILL -u "$user" 2>/dev/null || true; userdel -r "$user" 2>/dev/null || true' EXIT
[[ -n "${XAUTHORITY:-}" ]] && install -o "$user" -m 600 "$XAUTHORITY" "$home/.Xauthority"
counter=$PWD/build/bench/swap_counter.so
install -m 755 "$counter" "$home/swap_counter.so"
as_user() {
  runuser -u "$user" -- env DISPLAY="$DISPLAY" XAUTHORITY="$home/.Xauthority" HOME="$home" "$@"
}
# Both hacks exactly as a user's list names them, frames counted for both alike.
cat >"$home/.xscreensaver" <<EOF
timeout:	0:30:00
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
mode:		one
selected:	0
programs:	\\
  GL: "Driftglass #1" env SWAP_COUNTER_OUT=$home/swaps LD_PRELOAD=$home/swap_counter.so driftglass --root \\n\\
  GL: env SWAP_COUNTER_OUT=$home/swaps LD_PRELOAD=$home/swap_counter.so atlantis --root \\n
EOF
chown "$user:" "$home/.xscreensaver"
as_user xscreensaver --no-splash >/dev/null 2>&1 &
for _ in $(seq 50); do as_user xscreensaver-command -time >/dev/null 2>&1 && break; sleep 0.2; done

ticks=$(getconf CLK_TCK)
warmup=4
seconds=15
for ((round = 1; round <= rounds; ++round)); do
  for hack in driftglass atlantis; do
    index=0
    [[ $hack == atlantis ]] && index=1
    rm -f "$home/swaps"
    as_user xscreensaver-command -select $((index + 1)) >/dev/null
    pid=""
    for _ in $(seq 100); do pid=$(pgrep -u "$user" -x "$hack" | head -1 || true); [[ -n $pid ]] && break; sleep 0.1; done
    [[ -n $pid ]] || { echo "bench-daemon: $hack did not start" >&2; exit 1; }
    sleep "$warmup"
    read -r f0 _ <"$home/swaps"
    c0=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    sleep "$seconds"
    read -r f1 _ <"$home/swaps"
    c1=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    as_user xscreensaver-command -deactivate >/dev/null
    awk -v h="$hack" -v f0="$f0" -v f1="$f1" -v c0="$c0" -v c1="$c1" -v t="$ticks" -v s="$seconds" \
      -v size="$size" 'BEGIN {
      printf "%s %-10s %6.1f frames/s  %5.0f CPU ms per second (%3.0f%% of a core)\n",
             size, h, (f1 - f0) / s, 1000 * (c1 - c0) / t / s, 100 * (c1 - c0) / t / s
    }'
    for _ in $(seq 100); do pgrep -u "$user" -x "$hack" >/dev/null || break; sleep 0.1; done
  done
done
as_user xscreensaver-command -exit >/dev/null 2>&1 || true
