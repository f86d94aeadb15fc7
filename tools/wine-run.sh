#!/usr/bin/env bash
# Runs a Windows test program under Wine, as CTest's emulator. Wine now and then fails to
# start a process at all: it exits with an error before the program has printed a word. That
# one start is made once more, and said so on stderr; a program that ran and failed, failed.
# With DRIFTGLASS_WINE_HOME set, the program runs with that home (for its ALSA settings),
# in the Wine prefix it would have had.
if [[ -n "${DRIFTGLASS_WINE_HOME:-}" ]]; then
  export WINEPREFIX="${WINEPREFIX:-$HOME/.wine}" HOME="$DRIFTGLASS_WINE_HOME"
fi
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for attempt in 1 2; do
  wine "$@" | tee "$out"
  status=${PIPESTATUS[0]}
  if [[ $status -eq 0 || -s "$out" || $attempt -eq 2 ]]; then
    exit "$status"
  fi
  echo "wine-run: Wine did not start $1 (exit $status, nothing printed); starting it once more" >&2
done
