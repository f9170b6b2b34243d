#!/usr/bin/env bash
# The real binshredder.exe erasing a recycle bin of many files with as many
# files at once as the machine has cores (-C, its question answered Yes from
# outside by bench's yes_to_result.exe): how fast its progress window answers
# all along (SendMessageTimeout with WM_NULL every 20 ms, as Windows asks
# before it calls a window hung), the time from "Yes" to the result, and,
# with a stop after so many milliseconds, what it says and what it leaves:
# how many files are left, how many of them exactly as they were, and
# whether the bin was emptied. Figures, never part of the test suite.
#
#   cmake --preset win64 && cmake --build --preset win64
#   bash bench/recycle_erase_answers.sh [small files] [files of 8 MiB] [stop after ms, 0 for none]
#
# It uses the test bed build/win64/bench-bed, brought up and taken down here.
set -euo pipefail
cd "$(dirname "$0")/.."

small=${1:-3000}
large=${2:-32}
stop_after=${3:-0}
bed=build/win64/bench-bed
probe=build/win64/bin/yes_to_result.exe
[ -f "$probe" ] || { echo "build the win64 preset first ($probe missing)" >&2; exit 1; }

bash scripts/testbed.sh up "$bed" build/win64 . >/dev/null
prefix=$bed/prefix
bin=$prefix/drive_c/Recycler/S-1-5-21-0-0-0-1000
trash=$bed/home/.local/share/Trash
app=$prefix/drive_c/answers
sums=$(mktemp)
cleanup() {
  rm -rf "$prefix/drive_c/Recycler" "$trash" "$app" "$sums"
  bash scripts/testbed.sh down "$bed" >/dev/null 2>&1 || true
}
trap cleanup EXIT

rm -rf "$prefix/drive_c/Recycler" "$trash" "$app"
mkdir -p "$bin/Dc1" "$trash/files" "$trash/info" "$app"
head -c "$((small * 1024))" /dev/urandom | split -b 1K -d -a 5 - "$bin/D"
[ "$large" -gt 0 ] && head -c "$((large * 8))M" /dev/urandom | split -b 8M -d -a 3 - "$bin/Dc1/L"
(cd "$bin" && find . -type f -exec sha256sum {} +) > "$sums"
# Wine counts the recycle bin's items from the freedesktop trash.
for name in a b c; do
  echo item > "$trash/files/$name"
  printf '[Trash Info]\nPath=/home/user/%s\nDeletionDate=2026-12-07T10:00:00\n' "$name" > "$trash/info/$name.trashinfo"
done
cp build/win64/bin/binshredder.exe "$app/"
printf '[ProgramData]\r\nOverWriteTimes=3\r\n' > "$app/OPTION.INI"
sync

echo "load before: $(uptime)"
echo "bin: $small files of 1 KiB and $large of 8 MiB, 3 passes, $(nproc) cores; stop after: ${stop_after} ms"
bash scripts/testbed.sh exec "$bed" "$probe" 'C:\answers\binshredder.exe' -C "$stop_after" | tr -d '\r'
echo "load after: $(uptime)"
total=$(wc -l < "$sums")
left=$(find "$bin" -type f | wc -l)
as_they_were=$(( $(cd "$bin" && sha256sum -c "$sums" 2>/dev/null | grep -c ': OK$' || true) ))
echo "files: $total before, $left left, $as_they_were of them exactly as they were, $((left - as_they_were)) changed"
echo "trash items left (the bin is emptied only after a whole erase): $(ls "$trash/files" 2>/dev/null | wc -l)"
echo "work folder: $(ls -A "$app/work_temp" 2>/dev/null | wc -l) files in it ($([ -d "$app/work_temp" ] && echo present || echo removed))"
