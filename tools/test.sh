#!/usr/bin/env bash
# Sets up, builds and runs every test: unit tests, and the end-to-end tests on a virtual X
# server. `tools/test.sh asan` runs them on the AddressSanitizer build instead.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=linux
[[ "${1:-}" == "asan" ]] && preset=linux-asan

bash tools/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"

export ASAN_OPTIONS="abort_on_error=0"
if [[ "$preset" == linux ]]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset "$preset" --no-tests=error -j1
else
  # The GL driver is unloaded at exit, so what it keeps cannot be told apart from our own
  # leaks: leaks are checked in the unit tests, memory errors everywhere.
  ctest --preset "$preset" --no-tests=error -L unit
  ASAN_OPTIONS="detect_leaks=0" xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --preset "$preset" --no-tests=error -L e2e -j1
fi
