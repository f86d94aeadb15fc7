#!/usr/bin/env bash
# Makes the Debian package from the Linux build and checks it as a user gets it: every file
# where Debian's xscreensaver looks, the command that adds the hack to a user's list, the
# libraries' packages as dependencies, a stripped program that runs, manual pages that format
# cleanly, and lintian without errors.
# Usage: tools/check-package.sh [BUILD_FOLDER]   (default build/linux, already built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/linux}
fail() { echo "check-package: $*" >&2; exit 1; }

rm -f "$build"/driftglass_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/driftglass_*_amd64.deb)
[[ -f "${debs[0]}" ]] || fail "cpack made no driftglass_<version>_amd64.deb"
deb=${debs[0]}

contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in ./usr/libexec/xscreensaver/driftglass ./usr/share/xscreensaver/config/driftglass.xml \
            ./usr/share/man/man6/driftglass.6.gz ./usr/share/doc/driftglass/copyright \
            ./usr/share/doc/driftglass/changelog.gz ./usr/bin/driftglass-xscreensaver \
            ./usr/share/man/man1/driftglass-xscreensaver.1.gz ./usr/lib/x86_64-linux-gnu/driftglass/driftglass-gtk.so; do
  grep -qxF "$file" <<<"$contents" || fail "$file is not in the package"
done
strays=$(grep -v -e '/$' -e '^./usr/libexec/xscreensaver/' -e '^./usr/share/' \
  -e '^./usr/bin/driftglass-xscreensaver$' -e '^./usr/lib/x86_64-linux-gnu/driftglass/driftglass-gtk.so$' \
  <<<"$contents" || true)
[[ -z "$strays" ]] || fail "files outside /usr/libexec/xscreensaver, the dialogs' module and /usr/share: $strays"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libopenal1 libgtk-3-0 libx11-6 libglew; do
  grep -q "$library" <<<"$depends" || fail "Depends does not name $library: $depends"
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
program=$unpacked/usr/libexec/xscreensaver/driftglass
file "$program" | grep -q ", stripped" || fail "the packaged program is not stripped"
"$program" --version >/dev/null || fail "the packaged program does not run"
# Without a display the settings dialog cannot open, but the program must find its dialogs'
# module where the package put it.
said=$(env -u DISPLAY "$program" -c 2>&1 >/dev/null || true)
grep -q "cannot load the dialogs" <<<"$said" && fail "the packaged program does not find its dialogs: $said"
grep -q "cannot open the settings dialog" <<<"$said" || fail "the packaged settings dialog said: $said"
grep -q '_label="Driftglass #1"' "$unpacked/usr/share/xscreensaver/config/driftglass.xml" ||
  fail "the hack's label is not \"Driftglass #1\""
xml=$unpacked/usr/share/xscreensaver/config/driftglass.xml
for control in 'arg-set="--fps"' 'arg="--delay %"' 'arg-unset="--no-sound"'; do
  grep -qF "$control" "$xml" || fail "the hack's settings have no control with $control"
done
for page in man6/driftglass.6.gz man1/driftglass-xscreensaver.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$unpacked/usr/share/man/$page" 2>&1 \
    >/dev/null || true)
  [[ -z "$warnings" ]] || fail "the manual page $page formats with warnings: $warnings"
done

# lintian refuses to run as root unless told it may.
lintian --allow-root --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"
echo "check-package: $(basename "$deb") is whole ($(dpkg-deb -f "$deb" Installed-Size) KB installed)"
