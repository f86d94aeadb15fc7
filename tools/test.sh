#!/usr/bin/env bash
# Sets up, builds both programs and runs every test: the unit tests of both builds (the
# Windows ones under Wine), the end-to-end tests of both programs on a virtual X server, the
# Debian package's checks and the installed hack under the xscreensaver daemon (as root).
# `tools/test.sh asan` runs the Linux tests on the AddressSanitizer build instead;
# `tools/test.sh tsan` runs the unit and GL tests on the ThreadSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=linux
[[ "${1:-}" == "asan" ]] && preset=linux-asan
[[ "${1:-}" == "tsan" ]] && preset=linux-tsan

bash tools/install-deps.sh
export WINEPREFIX="$PWD/build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The end-to-end tests run the Windows program from its own build folder; the sanitizer runs
# leave it out.
if [[ "$preset" == linux ]]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows -j"$(nproc)"
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"

export ASAN_OPTIONS="abort_on_error=0"
if [[ "$preset" == linux ]]; then
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    # Make the Wine prefix once; wait until Wine has finished with the virtual display.
    xvfb-run -a sh -c 'wineboot -i; wineserver -w' >/dev/null 2>&1 || true
    [[ -f "$WINEPREFIX/system.reg" ]] || { echo "could not make the Wine prefix" >&2; exit 1; }
  fi
  # Keep one Wine server up between the many short test processes: a new one, since one
  # already up may be ending its session.
  { wineserver -k; wineserver -w; } 2>/dev/null || true
  wineserver -p120
  # Start Wine's own background processes first, away from CTest's output pipes: started by a
  # test they would inherit the pipe and keep CTest waiting for it to close.
  xvfb-run -a -s "-screen 0 1280x1024x24" sh -c 'wine cmd /c exit >/dev/null 2>&1;
    ctest --preset windows --no-tests=error'
  # The Debian package, checked, then installed for the test under the xscreensaver daemon
  # (and removed again afterwards, unless it was installed before).
  bash tools/check-package.sh build/linux
  sudo=""
  [[ $(id -u) -eq 0 ]] || sudo="sudo"
  if ! dpkg-query -W -f='${Status}' driftglass 2>/dev/null | grep -q "install ok installed"; then
    trap '$sudo apt-get remove -y -qq driftglass >/dev/null 2>&1 || true' EXIT
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --reinstall \
    ./build/linux/driftglass_*_amd64.deb >/dev/null
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset "$preset" --no-tests=error -j1
elif [[ "$preset" == linux-tsan ]]; then
  # The two threads' handshake, the render loop and the GL code, with every data race an error.
  TSAN_OPTIONS="halt_on_error=1:suppressions=$PWD/tools/tsan.supp" xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --preset "$preset" --no-tests=error -L "unit|gl" -j1
else
  # The GL driver is unloaded at exit, so what it keeps cannot be told apart from our own
  # leaks: leaks are checked in the unit tests, memory errors everywhere. The Windows
  # program is not built with the sanitizers, so its end-to-end tests are left to the first run.
  ctest --preset "$preset" --no-tests=error -L unit
  ASAN_OPTIONS="detect_leaks=0" xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --preset "$preset" --no-tests=error -L "e2e|gl" -E '^e2e\.WindowsSaverTest\.' -j1
fi
