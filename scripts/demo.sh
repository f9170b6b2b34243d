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
rm -rf "$shots"
mkdir -p "$shots"
driver() { testbed exec "$bed" "$build/bin/uidriver.exe" "$@"; }
# Waits for a window, prints its text, saves its picture; echoes its handle.
show() {  # caption picture-name
  local hwnd
  hwnd=$(driver shot '#32770' "$1" "Y:\\demo\\screenshots\\$2.png" 30000 | tr -d '\r')
  [ -n "$hwnd" ] || { echo "demo: no picture of \"$1\"" >&2; return 1; }
  echo "$hwnd"
}

echo "demo: no display; running $exe on a virtual display"
testbed wine "$bed" "$exe" &
program=$!
window=$(show Tessaro main-window)
driver screenshot screen 'Y:\demo\screenshots\desktop.png' >/dev/null
echo "demo: the tool window is up; its windows and controls:"
driver list | from_cp932 | sed 's/^/  /'
driver post "$window" 0x0010 0 0 >/dev/null  # WM_CLOSE: the program's own exit
wait "$program" || true

# The main job. Windows keeps deleted files in a folder per user on every
# drive, and Wine keeps its recycle bin in the freedesktop trash; the demo
# fills both: the trash gives the count and the emptying, the folder on C:
# (named by the user's SID, which Wine gives every user alike) the files to
# wipe.
echo
echo "demo: putting demo files into the recycle bin"
bin_dir="$WINEPREFIX/drive_c/Recycler/S-1-5-21-0-0-0-1000"
trash="$HOME/.local/share/Trash"
rm -rf "$WINEPREFIX/drive_c/Recycler" "$trash"
mkdir -p "$bin_dir/Dc3/photos" "$trash/files" "$trash/info"
echo "見積書 2026年12月" > "$bin_dir/Dc1.txt"
head -c 96M /dev/urandom > "$bin_dir/Dc2.mp4"
head -c 64M /dev/urandom > "$bin_dir/Dc3/photos/IMG_0001.jpg"
echo "index" > "$bin_dir/INFO2"
for name in 見積書.txt 旅行.mp4 写真; do
  echo demo > "$trash/files/$name"
  printf '[Trash Info]\nPath=/home/user/%s\nDeletionDate=2026-12-07T10:00:00\n' "$name" > "$trash/info/$name.trashinfo"
done
echo "demo: before the erase:"
(cd "$WINEPREFIX/drive_c" && find Recycler -type f -printf '  C:/%p  %s bytes\n')
echo "  trash: $(ls "$trash/files" | wc -l) items"

echo "demo: starting the erase as the recycle bin's own right-click command does: \"$exe\" -C"
testbed wine "$bed" "$exe" -C &
program=$!
question=$(show 確認 confirmation)
echo "demo: the program asks: $(driver text "$question" | from_cp932 | tr -d '\r')"
driver press "$question" 6 >/dev/null  # Yes
show '抹消中...' progress >/dev/null || echo "demo: (the progress window was gone before it could be pictured)"
result=$(show 情報 result)
echo "demo: the program reports: $(driver text "$result" | from_cp932 | tr -d '\r')"
driver press "$result" 1 >/dev/null
wait "$program" || true
echo "demo: after the erase:"
(cd "$WINEPREFIX/drive_c" && find Recycler -printf '  C:/%p\n')
echo "  trash: $(ls "$trash/files" | wc -l) items"
echo "  work folder: $([ -e "$install_dir/work_temp" ] && echo present || echo removed)"
echo "demo: what stays is what Windows' own emptying removes: the index file and the empty folders."
echo "demo: screenshots in $shots: $(cd "$shots" && ls | tr '\n' ' ')"
