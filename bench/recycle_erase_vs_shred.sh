#!/usr/bin/env bash
# Prints, from one run: the erase of a recycle-bin folder holding N files of
# 1 KiB (default 10,000) with one pass, through the program's own walk under
# Wine (wipetool.exe folder: every file overwritten, flushed, moved into the
# work folder, renamed to a temporary name and deleted), next to
# `shred -n 1 -u` over the same kind of files on the host, on the same disk,
# in files per second. Never part of the test suite.
#
#   cmake --preset win64 && cmake --build --preset win64
#   bash bench/recycle_erase_vs_shred.sh [number of files]
#
# It uses the test bed build/win64/bench-bed, brought up and taken down here.
set -euo pipefail
cd "$(dirname "$0")/.."

files=${1:-10000}
bed=build/win64/bench-bed
tool=build/win64/bin/wipetool.exe
[ -f "$tool" ] || { echo "build the win64 preset first ($tool missing)" >&2; exit 1; }

bash scripts/testbed.sh up "$bed" build/win64 . >/dev/null
folder=$bed/prefix/drive_c/bench
host_folder=build/win64/bench-host-files
cleanup() {
  rm -rf "$folder" "$host_folder" build/win64/bin/OPTION.INI.bench
  bash scripts/testbed.sh down "$bed" >/dev/null 2>&1 || true
}
trap cleanup EXIT

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
rate() { awk -v n="$1" -v t="$2" 'BEGIN { printf "%.0f", n / t }'; }

# N files of 1 KiB, synced, so that both contenders overwrite allocated blocks.
make_files() {
  rm -rf "$1"
  mkdir -p "$1"
  head -c 1024 /dev/urandom > "$1/template"
  for i in $(seq 1 "$files"); do cp "$1/template" "$1/D$i.txt"; done
  rm "$1/template"
  sync
}

echo "load before: $(uptime)"
make_files "$folder/Recycler/S-1-5-21-0-0-0-1000"
# One pass, as the benchmark asks; the tool reads OPTION.INI beside itself.
[ -e build/win64/bin/OPTION.INI ] && mv build/win64/bin/OPTION.INI build/win64/bin/OPTION.INI.bench
passes=${SHRED_BENCH_PASSES:-1}  # 0 shows what the walk costs without any overwriting
printf '[ProgramData]\r\nOverWriteTimes=%d\r\n' "$passes" > build/win64/bin/OPTION.INI
start=$(now)
tool_output=$(bash scripts/testbed.sh exec "$bed" "$tool" folder 'C:\bench\Recycler\S-1-5-21-0-0-0-1000' | tr -d '\r')
erase_time=$(elapsed "$start" "$(now)")
rm -f build/win64/bin/OPTION.INI
[ -e build/win64/bin/OPTION.INI.bench ] && mv build/win64/bin/OPTION.INI.bench build/win64/bin/OPTION.INI
left=$(find "$folder/Recycler" -type f | wc -l)
echo "$tool_output"

make_files "$host_folder"
start=$(now)
find "$host_folder" -type f -print0 | xargs -0 shred -n 1 -u
shred_time=$(elapsed "$start" "$(now)")
echo "load after: $(uptime)"

erase_only=$(sed -n 's/.* in \([0-9.]*\) s$/\1/p' <<< "$tool_output")
echo
printf '%-52s %8s s  %7s files/s\n' "recycle-bin walk under Wine, $files x 1 KiB, $passes pass(es)" "$erase_time" "$(rate "$files" "$erase_time")"
printf '%-52s %8s s  %7s files/s  (the walk alone)\n' "" "$erase_only" "$(rate "$files" "$erase_only")"
printf '%-52s %8s s  %7s files/s\n' "shred -n 1 -u, $files x 1 KiB" "$shred_time" "$(rate "$files" "$shred_time")"
echo "files left in the recycle-bin folder: $left"
echo "walk / shred files per second = $(awk -v a="$shred_time" -v b="$erase_time" 'BEGIN { printf "%.2f", a / b }')   (target: 0.5 or more)"
