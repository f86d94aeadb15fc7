#!/usr/bin/env bash
# Listens to the saver as a person would, and measures what is heard: a minute and more of
# the scene recorded in real time through OpenAL's wave output, three times over the same
# frames (seed and step fixed): the sea alone, the wings alone (copies of the program with
# the other sample silenced) and both. Prints per channel the sea's resting level and its
# loudest swell, the buzz's loudest 100 ms, and the loudest 100 ms of every second; writes
# the recordings and, where sox is installed, a spectrogram of the first 40 s to out/listen/.
# Usage: tools/listen.sh [FRAMES] [SEED]   (default 1800 frames of 40 ms, seed 7)
set -euo pipefail
cd "$(dirname "$0")/.."
frames=${1:-1800}
seed=${2:-7}
bash tools/install-deps.sh
command -v python3 >/dev/null || {
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo apt-get install -y -qq python3-minimal >/dev/null
}
cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)" --target driftglass >/dev/null
out=$PWD/out/listen
rm -rf "$out" && mkdir -p "$out"

# Copies of the program with one sample silenced, found by its bytes.
python3 - "$out" <<'EOF'
import os, sys
out = sys.argv[1]
program = open("build/linux/driftglass", "rb").read()
for name in ("ambient", "wings"):
    samples = open(f"resources/sounds/{name}.pcm", "rb").read()
    at = program.find(samples)
    assert at >= 0 and program.find(samples, at + 1) < 0, name
    path = f"{out}/driftglass-without-{name}"
    open(path, "wb").write(program[:at] + bytes(len(samples)) + program[at + len(samples):])
    os.chmod(path, 0o755)
EOF

# Three runs side by side, each paced about as a saver runs (40 ms a frame).
record() {  # NAME PROGRAM
  printf '[general]\nhrtf = false\n[wave]\nfile = %s\n' "$out/$1.wav" >"$out/$1.conf"
  XDG_CONFIG_HOME="$out/config-$1" XDG_STATE_HOME="$out/state-$1" ALSOFT_DRIVERS=wave \
    ALSOFT_CONF="$out/$1.conf" xvfb-run -a -s "-screen 0 640x480x24" "$2" -window \
    --size 320x240 --seed "$seed" --fixed-step 40 --delay 35000 --frames "$frames" \
    >"$out/$1.log" 2>&1
}
record sea "$out/driftglass-without-wings" &
record wings "$out/driftglass-without-ambient" &
record both build/linux/driftglass &
wait

python3 - "$out" <<'EOF'
import array, math, struct, sys
out = sys.argv[1]

def channels(path):
    data = open(path, "rb").read()
    at, count, bits, raw = 12, 0, 16, b""
    while at + 8 <= len(data):
        kind, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        if kind == b"fmt ":
            count = struct.unpack("<H", data[at + 10:at + 12])[0]
            bits = struct.unpack("<H", data[at + 22:at + 24])[0]
        if kind == b"data":
            raw = data[at + 8:]
            break
        at += 8 + size + (size & 1)
    samples = array.array("h" if bits == 16 else "f")
    samples.frombytes(raw[:len(raw) // samples.itemsize * samples.itemsize])
    full = 32768.0 if bits == 16 else 1.0
    return [[s / full for s in samples[c::count]] for c in range(count)]

def levels(channel, ms):
    width = 44100 * ms // 1000
    return [10 * math.log10(max(sum(s * s for s in channel[i:i + width]) / width, 1e-18))
            for i in range(0, len(channel) - width + 1, width)]

heard = {name: channels(f"{out}/{name}.wav") for name in ("sea", "wings", "both")}
sea50 = sorted(v for c in heard["sea"] for v in levels(c, 50) if v > -150)
sea100 = max(v for c in heard["sea"] for v in levels(c, 100))
wings100 = max(v for c in heard["wings"] for v in levels(c, 100))
print(f"sea at rest (10th percentile of 50 ms windows): {sea50[len(sea50) // 10]:.1f} dBFS a channel")
print(f"sea's loudest swell (100 ms): {sea100:.1f} dBFS")
print(f"buzz's loudest 100 ms: {wings100:.1f} dBFS ({wings100 - sea100:+.1f} dB against the sea)")
both = [levels(c, 100) for c in heard["both"]]
seconds = [max(max(b[s * 10:(s + 1) * 10]) for b in both) for s in range(len(both[0]) // 10)]
print("both, loudest 100 ms of each second:", " ".join(f"{v:.0f}" for v in seconds))
EOF
if command -v sox >/dev/null; then
  sox "$out/both.wav" -n remix 1 trim 0 40 spectrogram -x 800 -y 257 -z 90 \
    -t "Driftglass #1: the sea and the wings, first 40 s (left channel)" \
    -o "$out/spectrogram.png" 2>/dev/null && echo "spectrogram: out/listen/spectrogram.png"
fi
