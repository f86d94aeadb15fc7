#!/usr/bin/env bash
# Builds the fuzz targets in fuzz/ with clang's libFuzzer, AddressSanitizer and UBSan (the fuzz
# preset), and runs each for SECONDS (default 60) from its committed corpus. A crash stops the
# run and leaves its input in build/fuzz/; fix it and add the input to fuzz/corpus/TARGET.
# Usage: tools/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash tools/install-deps.sh
out=build/fuzz
# The fuzz preset builds the targets from the project's own libraries with clang.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"

for name in command_line option_text pictures meshes; do
  work="$out/corpus-$name"
  rm -rf "$work" && mkdir -p "$work"
  # The first folder gathers what the run finds; the committed corpus is only read.
  "$out/${name}_fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/$name-" "$work" "fuzz/corpus/$name" >"$out/$name.log" 2>&1 || {
    tail -n 40 "$out/$name.log"
    echo "fuzz target $name failed; its input is in $out/" >&2
    exit 1
  }
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/$name.log" | grep -o '[0-9]*$')
  echo "fuzz $name: $runs runs in ${seconds} s, no failure"
done
