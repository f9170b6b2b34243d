#!/usr/bin/env bash
# The free-space erase of the real binshredder.exe on small volume images.
# Files of a pattern (a large one, medium ones, and hundreds under 700 bytes,
# which NTFS keeps inside its file records) are written, flushed and deleted,
# as the user deleted them without the shredder; one live file is kept. Then
# `binshredder.exe -F "M:\"` runs, its question is answered Yes from outside,
# and the raw image is read after unmounting: not one 16-byte unit of the
# pattern may be left (so certainly no 512-byte block of it), the live file is
# byte for byte as it was, nothing of the fill is left, and the free space is
# back (within 1 MiB: NTFS keeps a file table that grew).
#
#   ext4  loop-mounted, its metadata reserve set to none (ext4 keeps 2% of a
#         small volume for itself, which no user write can reach), and
#         without a journal: with one, the blocks of the fill's own folders
#         reach their place only when the journal is checkpointed, seconds
#         after a run as short as this one has removed them (the help names
#         journals among what the erase cannot reach). M: is a folder inside
#         it, since Wine reads the volume of a loop mount's root from the
#         device and knows no ext4 there.
#   ntfs  through ntfs-3g (FUSE): the on-disk format the program meets on
#         Windows, file records and all.
#
# Needs root, loop devices and FUSE; a check whose needs are missing is
# skipped with the reason, and when none could run the script exits 77.
#
#   free_space_images.sh <bed> <build-dir> [ext4|ntfs ...]
set -euo pipefail

bed=$(cd "${1:?test bed folder}" && pwd)
build=$(cd "${2:?build folder}" && pwd)
shift 2
[ $# -gt 0 ] || set -- ext4 ntfs

testbed=$(cd "$(dirname "$0")/../.." && pwd)/scripts/testbed.sh
driver=$build/bin/uidriver.exe
drive=$bed/prefix/dosdevices/m:
install=$bed/prefix/drive_c/forensic-free-space
unit='SHREDPATTERN-01'  # with its newline, 16 bytes

work=$(mktemp -d "$build/forensic-free-space.XXXXXX")
mounts=()
# Wine reads the volume of a drive only when the drive was there as its
# services started: they are started again after each change of M:.
link_drive() {
  ln -sfn "$1" "$drive"
  bash "$testbed" restart "$bed"
}
unlink_drive() {
  [ -L "$drive" ] || return 0
  rm -f "$drive"
  bash "$testbed" restart "$bed"
}

cleanup() {
  unlink_drive
  local mount
  for mount in "${mounts[@]}"; do unmount "$mount" || true; done
  rm -rf "$work" "$install"
}
trap cleanup EXIT

unmount() {
  local mount=$1 try
  mountpoint -q "$mount" || return 0
  for try in $(seq 1 20); do
    if umount "$mount" 2>/dev/null; then return 0; fi
    sleep 0.5
  done
  echo "could not unmount $mount" >&2
  return 1
}

units_in() { grep -a -c -F "$unit" "$1" || true; }
pattern_file() { { yes "$unit" || true; } | head -c "$2" > "$1"; }
free_bytes() { df -B1 --output=avail "$1" | tail -n 1 | tr -d ' '; }
driver() { bash "$testbed" exec "$bed" "$driver" "$@" | tr -d '\r' | iconv -f CP932 -t UTF-8; }

failed=0
ran=0
fail() { echo "FAILED $1: $2"; failed=1; }
skip() { echo "skipped $1: $2"; }

needs_loop() {
  [ "$(id -u)" -eq 0 ] || { echo "needs root to mount volume images"; return 1; }
  losetup -f >/dev/null 2>&1 || { echo "no free loop device"; return 1; }
  command -v mkfs.ext4 >/dev/null || { echo "mkfs.ext4 missing (e2fsprogs)"; return 1; }
}

needs_fuse() {
  [ "$(id -u)" -eq 0 ] || { echo "needs root to mount volume images"; return 1; }
  [ -c /dev/fuse ] || { echo "no /dev/fuse"; return 1; }
  command -v ntfs-3g >/dev/null && command -v mkntfs >/dev/null || { echo "ntfs-3g missing"; return 1; }
}

check() {  # <kind>
  local kind=$1 image=$work/$1.img mount=$work/$1
  mkdir -p "$mount"
  truncate -s 64M "$image"
  case $kind in
    ext4)
      mkfs.ext4 -q -F -b 4096 -m 0 -O ^has_journal "$image"
      mount -o loop "$image" "$mount" || { skip ext4 "the image could not be mounted"; return; }
      echo 0 > "/sys/fs/ext4/$(basename "$(findmnt -n -o SOURCE "$mount")")/reserved_clusters"
      ;;
    ntfs)
      mkntfs -q -F -f "$image" >"$work/mkntfs.log" 2>&1 || { cat "$work/mkntfs.log"; fail ntfs "mkntfs"; return; }
      ntfs-3g "$image" "$mount" || { skip ntfs "the image could not be mounted"; return; }
      ;;
  esac
  mounts+=("$mount")
  local root=$mount
  [ "$kind" = ext4 ] && root=$mount/volume && mkdir "$root"

  pattern_file "$root/large.bin" $((4 * 1024 * 1024 + 100))
  for i in $(seq 1 8); do pattern_file "$root/medium$i.bin" $((100000 + i * 7000)); done
  for i in $(seq 1 300); do pattern_file "$root/small$i.txt" $((100 + i * 2)); done
  head -c 1000000 /dev/urandom > "$root/live.bin"
  local live
  live=$(sha256sum < "$root/live.bin")
  sync
  rm "$root"/large.bin "$root"/medium*.bin "$root"/small*.txt
  sync
  local before free_before
  before=$(units_in "$image")
  free_before=$(free_bytes "$mount")
  if [ "$before" -lt 250000 ]; then
    fail "$kind" "the pattern did not reach the image ($before units), the check could not tell"
    return
  fi

  link_drive "$root"
  driver run '"C:\forensic-free-space\binshredder.exe" -F "M:\"' 300000 > "$work/run.out" 2>&1 &
  local program=$!
  local question result
  question=$(driver answer 確認 6 60000) || fail "$kind" "no question"
  result=$(driver answer 情報 1 300000) || fail "$kind" "no result"
  wait "$program" || fail "$kind" "the program did not end: $(cat "$work/run.out")"
  unlink_drive
  echo "$kind: asked: ${question%%$'\n'*}"
  echo "$kind: told: $result"
  [[ $result == *"を完全に抹消しました。"* ]] || fail "$kind" "the result is not a success"
  if [ "$kind" = ntfs ] && [[ $result != *"空きレコード"* ]]; then fail ntfs "no free file record was taken"; fi

  [ "$(sha256sum < "$root/live.bin")" = "$live" ] || fail "$kind" "the live file changed"
  local left
  left=$(ls -A "$root" | grep -v -x -e live.bin -e lost+found -e volume || true)
  [ -z "$left" ] || fail "$kind" "left on the volume: $left"
  local free_after
  free_after=$(free_bytes "$mount")
  echo "$kind: free bytes $free_before before, $free_after after"
  [ "$free_after" -le "$free_before" ] && [ $((free_before - free_after)) -le $((1024 * 1024)) ] ||
    fail "$kind" "the free space is not back"
  unmount "$mount"
  local after
  after=$(units_in "$image")
  echo "$kind: pattern units in the raw image: $before before, $after after"
  [ "$after" -eq 0 ] || fail "$kind" "$after units of the pattern are still in the image"
  ran=1
}

[ -f "$build/bin/binshredder.exe" ] && [ -f "$driver" ] || { echo "build the win64 preset first"; exit 1; }
mkdir -p "$install"
cp "$build/bin/binshredder.exe" "$install/"
for kind in "$@"; do
  case $kind in
    ext4) if reason=$(needs_loop); then check ext4; else skip ext4 "$reason"; fi ;;
    ntfs) if reason=$(needs_fuse); then check ntfs; else skip ntfs "$reason"; fi ;;
    *) echo "unknown check $kind" >&2; exit 2 ;;
  esac
done

if [ "$failed" -ne 0 ]; then exit 1; fi
if [ "$ran" -eq 0 ]; then
  echo "SKIPPED: no check could run"
  exit 77
fi
echo "passed"
