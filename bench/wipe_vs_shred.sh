#!/usr/bin/env bash
# Prints, from one run: the overwrite stream's throughput in the host build;
# the time to wipe a 512 MiB file with 3 passes through the program's own code
# under Wine (wipetool.exe, WipeFile with the default pass count); the real
# binshredder.exe started on such a file, from the press of "Yes" to the
# result box, next to the time the same stream takes in memory
# (yes_to_result.exe); `shred -n 3` on a file of the same size; and
# `dd ... conv=notrunc,fdatasync` writing the same 3 x 512 MiB, one flushed
# pass after another (the floor); all on the project's disk, with the ratios.
# Never part of the test suite.
#
#   cmake --preset host && cmake --build --preset host
#   cmake --preset win64 && cmake --build --preset win64
#   bash bench/wipe_vs_shred.sh [size in MiB, default 512]
#
# It uses a test bed of its own (build/win64/bench-bed), brought up and taken
# down here, and files inside that bed's drive C:.
set -euo pipefail
cd "$(dirname "$0")/.."

size_mib=${1:-512}
bed=build/win64/bench-bed
tool=build/win64/bin/wipetool.exe
program=build/win64/bin/binshredder.exe
timer=build/win64/bin/yes_to_result.exe
stream=build/host/bench/stream_throughput
for needed in "$tool" "$program" "$timer"; do
  [ -f "$needed" ] || { echo "build the win64 preset first ($needed missing)" >&2; exit 1; }
done

bash scripts/testbed.sh up "$bed" build/win64 . >/dev/null
folder=$bed/prefix/drive_c/bench
cleanup() {
  rm -rf "$folder"
  bash scripts/testbed.sh down "$bed" >/dev/null 2>&1 || true
}
trap cleanup EXIT
mkdir -p "$folder"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# A file of the size, written and synced beforehand, so that every contender
# overwrites allocated blocks.
fresh_file() {
  dd if=/dev/zero of="$1" bs=1M count="$size_mib" conv=fsync status=none
}

echo "load before: $(uptime)"
echo "cores: $(nproc)"
if [ -x "$stream" ]; then "$stream"; else echo "(no host build: $stream missing)"; fi

file=$folder/target.bin
fresh_file "$file"
start=$(now)
for _ in 1 2 3; do
  dd if=/dev/zero of="$file" bs=1M count="$size_mib" conv=notrunc,fdatasync status=none
done
dd_time=$(elapsed "$start" "$(now)")
rm -f "$file"

fresh_file "$file"
start=$(now)
shred -n 3 "$file"
shred_time=$(elapsed "$start" "$(now)")
rm -f "$file"

fresh_file "$file"
start=$(now)
tool_output=$(bash scripts/testbed.sh exec "$bed" "$tool" wipe 'C:\bench\target.bin' | tr -d '\r')
wipe_time=$(elapsed "$start" "$(now)")
rm -f "$file"

# The program from a folder of its own, so that it runs with the default
# options (3 passes) whatever the build folder's OPTION.INI says.
cp "$program" "$folder/binshredder.exe"
fresh_file "$file"
timer_output=$(bash scripts/testbed.sh exec "$bed" "$timer" 'C:\bench\binshredder.exe' 'C:\bench\target.bin' 3 | tr -d '\r')
[ -e "$file" ] && echo "(the program left $file behind)"
rm -f "$file"

echo "$tool_output"
echo "$timer_output"
echo "load after: $(uptime)"
wipe_only=$(sed -n 's/.* in \([0-9.]*\) s$/\1/p' <<< "$tool_output")
echo
printf '%-44s %8s s\n' "dd conv=fdatasync, 3 x $size_mib MiB (floor)" "$dd_time"
printf '%-44s %8s s\n' "shred -n 3, $size_mib MiB" "$shred_time"
printf '%-44s %8s s   (the wipetool run, Wine start-up included)\n' "WipeFile under Wine, 3 passes, $size_mib MiB" "$wipe_time"
printf '%-44s %8s s   (the call alone, by the tool'"'"'s clock)\n' "" "$wipe_only"
program_time=$(sed -n 's/^yes_to_result_seconds=//p' <<< "$timer_output")
stream_time=$(sed -n 's/^stream_seconds=//p' <<< "$timer_output")
printf '%-44s %8s s   (from "Yes" to the result box)\n' "binshredder.exe, 3 passes, $size_mib MiB" "$program_time"
printf '%-44s %8s s   (the same stream, in memory, same process kind)\n' "" "$stream_time"
echo
echo "program / stream = $(ratio "$program_time" "$stream_time")   (target: 1.1 or less while the disk keeps up)"
echo "program / shred  = $(ratio "$program_time" "$shred_time")   (target: under 1.5)"
echo "wipe / shred = $(ratio "$wipe_time" "$shred_time")   (target: 1.5 or less; the call alone: $(ratio "$wipe_only" "$shred_time"))"
echo "wipe / dd    = $(ratio "$wipe_time" "$dd_time")"
echo "shred / dd   = $(ratio "$shred_time" "$dd_time")"
