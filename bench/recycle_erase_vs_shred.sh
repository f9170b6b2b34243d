#!/usr/bin/env bash
# Prints, from one run: the erase of a recycle-bin folder through the
# program's own walk under Wine (wipetool.exe folder: every file checked,
# overwritten with the passes, flushed, moved into the work folder under a
# temporary name and deleted), with one worker (the walk's own thread, as on
# a disk that seeks) and with as many as the machine has cores (at most 16),
# next to `shred -n <passes> -u` over the same kind of files on the host, on
# the same disk, in files per second, for
#   5,000 files of 1 KiB and 64 files of 8 MiB, 3 passes each.
# The worker count is forced through wipetool.exe's own argument; the program
# itself has no such setting. Never part of the test suite.
#
#   cmake --preset win64 && cmake --build --preset win64
#   bash bench/recycle_erase_vs_shred.sh
#
# SHRED_BENCH_PASSES changes the passes (0: the walk without any
# overwriting); SHRED_BENCH_SETS the sets ("5000x1K 64x8M", as split -b sizes).
# It uses the test bed build/win64/bench-bed, brought up and taken down here.
set -euo pipefail
cd "$(dirname "$0")/.."

passes=${SHRED_BENCH_PASSES:-3}
sets=${SHRED_BENCH_SETS:-5000x1K 64x8M}
all=$(nproc)
[ "$all" -gt 16 ] && all=16
bed=build/win64/bench-bed
tool=build/win64/bin/wipetool.exe
[ -f "$tool" ] || { echo "build the win64 preset first ($tool missing)" >&2; exit 1; }

bash scripts/testbed.sh up "$bed" build/win64 . >/dev/null
folder=$bed/prefix/drive_c/bench
bin=Recycler/S-1-5-21-0-0-0-1000
host_folder=build/win64/bench-host-files
cleanup() {
  rm -rf "$folder" "$host_folder"
  rm -f build/win64/bin/OPTION.INI
  [ -e build/win64/bin/OPTION.INI.bench ] && mv build/win64/bin/OPTION.INI.bench build/win64/bin/OPTION.INI
  bash scripts/testbed.sh down "$bed" >/dev/null 2>&1 || true
}
trap cleanup EXIT

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
rate() { awk -v n="$1" -v t="$2" 'BEGIN { printf "%.0f", n / t }'; }

# <folder> <count> <size>: that many files of random content, synced, so that
# every contender overwrites allocated blocks.
make_files() {
  rm -rf "$1"
  mkdir -p "$1"
  head -c "$(($2 * $(numfmt --from=iec "$3")))" /dev/urandom | split -b "$3" -d -a 5 - "$1/D"
  sync
}

# The tool reads OverWriteTimes from OPTION.INI beside itself.
[ -e build/win64/bin/OPTION.INI ] && mv build/win64/bin/OPTION.INI build/win64/bin/OPTION.INI.bench
printf '[ProgramData]\r\nOverWriteTimes=%d\r\n' "$passes" > build/win64/bin/OPTION.INI

declare -a rows
echo "load before: $(uptime)"
for set in $sets; do
  count=${set%x*}
  size=${set#*x}
  one=
  for workers in 1 "$all"; do
    make_files "$folder/$bin" "$count" "$size"
    start=$(now)
    output=$(bash scripts/testbed.sh exec "$bed" "$tool" folder "C:\\bench\\${bin//\//\\}" "$workers" | tr -d '\r')
    wall=$(elapsed "$start" "$(now)")
    walk=$(sed -n 's/.* in \([0-9.]*\) s$/\1/p' <<< "$output")
    left=$(find "$folder/$bin" -type f | wc -l)
    [ -z "$one" ] && one=$walk
    rows+=("$(printf '%-34s %7s s %7s s  %7s files/s  %5sx  left %s' \
      "walk, $count x $size, $workers worker(s)" "$walk" "$wall" "$(rate "$count" "$walk")" \
      "$(awk -v a="$one" -v b="$walk" 'BEGIN { printf "%.2f", a / b }')" "$left")")
    grep -v ': wiped in ' <<< "$output" || true
  done
  make_files "$host_folder" "$count" "$size"
  start=$(now)
  find "$host_folder" -type f -print0 | xargs -0 shred -n "$passes" -u
  shred_time=$(elapsed "$start" "$(now)")
  rows+=("$(printf '%-34s %7s s %7s    %7s files/s' "shred -n $passes -u, $count x $size" "$shred_time" "" \
    "$(rate "$count" "$shred_time")")")
done
echo "load after: $(uptime)"
echo
echo "$passes pass(es); walk: wipetool's own time, then with Wine's start; the factor is against one worker"
printf '%s\n' "${rows[@]}"
