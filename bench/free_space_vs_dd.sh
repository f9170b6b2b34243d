#!/usr/bin/env bash
# Prints, from one run, in MB/s (10^6 bytes per second) of the same free
# space of one ext4 volume image: the free-space erase of the real
# binshredder.exe under Wine, from the press of "Yes" to the result box
# (yes_to_result.exe), next to `dd` filling that free space from /dev/urandom
# and from /dev/zero with conv=fdatasync; the overwrite stream's speed on one
# core, the cores in use and the stream's speed on all of them at once (where
# the cores share their units or other work, less than the sum); the target
# (the stream's speed times the cores, up to the disk's speed, which dd from
# /dev/zero shows) and the ratios. Never part of the test suite.
#
#   cmake --preset host && cmake --build --preset host
#   cmake --preset win64 && cmake --build --preset win64
#   bash bench/free_space_vs_dd.sh [image size in MiB, default 512]
#
# Needs root (a loop mount). It uses a test bed of its own
# (build/win64/bench-bed) and an image in build/win64, both taken away after.
set -euo pipefail
cd "$(dirname "$0")/.."

size_mib=${1:-512}
bed=build/win64/bench-bed
program=build/win64/bin/binshredder.exe
timer=build/win64/bin/yes_to_result.exe
stream=build/host/bench/stream_throughput
for needed in "$program" "$timer" "$stream"; do
  [ -f "$needed" ] || { echo "build the host and win64 presets first ($needed missing)" >&2; exit 1; }
done
[ "$(id -u)" -eq 0 ] || { echo "needs root to mount the volume image" >&2; exit 1; }

image=$PWD/build/win64/bench-free-space.img
mount=$PWD/build/win64/bench-free-space
bash scripts/testbed.sh up "$bed" build/win64 . >/dev/null
cleanup() {
  rm -f "$bed/prefix/dosdevices/m:"
  if mountpoint -q "$mount"; then umount "$mount"; fi
  rm -rf "$mount" "$image" "$bed/prefix/drive_c/bench"
  bash scripts/testbed.sh down "$bed" >/dev/null 2>&1 || true
}
trap cleanup EXIT

# With the metadata reserve of ext4 at none, so that every contender can
# fill the same free space.
truncate -s "${size_mib}M" "$image"
mkfs.ext4 -q -F -b 4096 -m 0 "$image"
mkdir -p "$mount"
mount -o loop "$image" "$mount"
echo 0 > "/sys/fs/ext4/$(basename "$(findmnt -n -o SOURCE "$mount")")/reserved_clusters"
mkdir "$mount/volume"  # M: (Wine reads no volume at an ext4 mount's root)

free_bytes() { df -B1 --output=avail "$mount" | tail -n 1 | tr -d ' '; }
now() { date +%s.%N; }
mbps() { awk -v bytes="$1" -v seconds="$2" 'BEGIN { printf "%.0f", bytes / seconds / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# dd until the volume is full (it then reports no space, which is the point).
dd_fill() {  # <source>
  local start seconds
  sync
  start=$(now)
  dd if="$1" of="$mount/volume/fill" bs=4M conv=fdatasync status=none 2>/dev/null || true
  seconds=$(awk -v a="$start" -v b="$(now)" 'BEGIN { print b - a }')
  local bytes
  bytes=$(stat -c %s "$mount/volume/fill")
  rm -f "$mount/volume/fill"
  sync
  mbps "$bytes" "$seconds"
}

echo "load before: $(uptime)"
cores=$(nproc)
single=$("$stream" --fastest)
together=$(for _ in $(seq "$cores"); do "$stream" --fastest & done | awk '{ sum += $1 } END { print sum }')
free=$(free_bytes)
urandom=$(dd_fill /dev/urandom)
zero=$(dd_fill /dev/zero)

mkdir -p "$bed/prefix/drive_c/bench"
cp "$program" "$bed/prefix/drive_c/bench/binshredder.exe"
ln -sfn "$mount/volume" "$bed/prefix/dosdevices/m:"
bash scripts/testbed.sh restart "$bed"  # Wine reads the volume of a drive known when its services started
timer_output=$(bash scripts/testbed.sh exec "$bed" "$timer" 'C:\bench\binshredder.exe' -F 'M:\' | tr -d '\r')
seconds=$(sed -n 's/^yes_to_result_seconds=//p' <<< "$timer_output")
[ -n "$seconds" ] || { echo "the program did not run: $timer_output" >&2; exit 1; }
[ "$(free_bytes)" -eq "$free" ] || echo "(the free space is not back: $(free_bytes) bytes, was $free)"
program_mbps=$(mbps "$free" "$seconds")
target=$(awk -v s="$single" -v c="$cores" -v d="$zero" 'BEGIN { t = s * c; printf "%.0f", t < d ? t : d }')
echo "load after: $(uptime)"
echo
printf '%-58s %6s MB/s\n' "free space of the ${size_mib} MiB ext4 image: $free bytes" ""
printf '%-58s %6s MB/s\n' "overwrite stream, one core (host build, fastest steps)" "$single"
printf '%-58s %6s\n' "cores in use" "$cores"
printf '%-58s %6s MB/s\n' "overwrite stream, one on each core at once (sum)" "$together"
printf '%-58s %6s MB/s\n' "dd if=/dev/urandom conv=fdatasync" "$urandom"
printf '%-58s %6s MB/s\n' "dd if=/dev/zero conv=fdatasync (the disk's speed)" "$zero"
printf '%-58s %6s MB/s   (%s s from \"Yes\" to the result)\n' "binshredder.exe -F, under Wine" "$program_mbps" "$seconds"
echo
echo "target = min(stream x cores, dd from /dev/zero) = $target MB/s"
echo "program / target     = $(ratio "$program_mbps" "$target")   (target: 1 or more)"
echo "program / stream on every core at once = $(ratio "$program_mbps" "$together")"
echo "program / dd urandom = $(ratio "$program_mbps" "$urandom")"
echo "program / dd zero    = $(ratio "$program_mbps" "$zero")"
