#!/usr/bin/env bash
# Runs the built program in the demo prefix build/win64/demo.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build/win64
bed=$build/demo
testbed() { bash "$root/scripts/testbed.sh" "$@"; }
# Text that Windows programs print is code page 932.
from_cp932() { iconv -f CP932 -t UTF-8; }

if [ -n "${DISPLAY:-}" ]; then
  export SHRED_USE_DISPLAY=1
else
  export SHRED_USE_DISPLAY=0
fi
testbed up "$bed" "$build" "$root"
trap 'testbed down "$bed"' EXIT

# Install the program as a user would: its own folder on drive C:.
eval "$(testbed env "$bed")"
install_dir="$WINEPREFIX/drive_c/MORVANE Shredder"
mkdir -p "$install_dir"
cp "$build/bin/binshredder.exe" "$install_dir/"
exe='C:\MORVANE Shredder\binshredder.exe'

if [ "$SHRED_USE_DISPLAY" = 1 ]; then
  echo "demo: starting $exe on $DISPLAY; close its window to end."
  testbed wine "$bed" "$exe"
  exit 0
fi

shots=$bed/screenshots
mkdir -p "$shots"
driver() { testbed exec "$bed" "$build/bin/uidriver.exe" "$@"; }

echo "demo: no display; running $exe on a virtual display"
testbed wine "$bed" "$exe" &
program=$!
window=$(driver wait '#32770' Tessaro 20000 | tr -d '\r')
driver screenshot screen 'Y:\demo\screenshots\desktop.png' >/dev/null
driver screenshot "$window" 'Y:\demo\screenshots\main-window.png' >/dev/null
echo "demo: the tool window is up; its windows and controls:"
driver list | from_cp932 | sed 's/^/  /'
echo "demo: screenshots saved to $shots/main-window.png and $shots/desktop.png"
driver post "$window" 0x0010 0 0 >/dev/null  # WM_CLOSE: the program's own exit
wait "$program" || true
echo "demo: the program has ended."
