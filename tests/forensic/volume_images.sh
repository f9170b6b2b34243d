#!/usr/bin/env bash
# Wipes and removes a file through the program's own code on small volume
# images, then reads the raw images: not one 16-byte unit of the file's
# pattern may be left (so certainly no 512-byte block of it).
#
#   ext4  loop-mounted. Shows that the passes land on the file's own blocks
#         and reach the disk: a pass that truncated, or that was not flushed
#         before the deletion, leaves the old blocks as they were.
#   ntfs  through ntfs-3g (FUSE): the on-disk format the program meets on
#         Windows.
#   full  a truly full ext4 volume: a pass writes what the file's clusters
#         hold and never needs one more, so the file is wiped all the same.
#
# Each mounted image is linked as drive M: of the test bed's prefix while the
# program runs. Needs root, loop devices and FUSE; a check whose needs are
# missing is skipped with the reason, and when none could run the script
# exits 77 (CTest reports the test as skipped).
#
#   volume_images.sh <bed> <build-dir> [ext4|ntfs|full ...]
set -euo pipefail

bed=$(cd "${1:?test bed folder}" && pwd)
build=$(cd "${2:?build folder}" && pwd)
shift 2
[ $# -gt 0 ] || set -- ext4 ntfs full

testbed=$(cd "$(dirname "$0")/../.." && pwd)/scripts/testbed.sh
tool=$build/bin/wipetool.exe
drive=$bed/prefix/dosdevices/m:
unit='SHREDPATTERN-01'  # with its newline, 16 bytes

volumes_work=$(mktemp -d "$build/forensic.XXXXXX")
work=$volumes_work
# shellcheck source=tests/support/volumes.sh
source "$(dirname "$0")/../support/volumes.sh"
cleanup() {
  rm -f "$drive"
  unmount_volumes || true
  rm -rf "$work"
}
trap cleanup EXIT

# Pattern units anywhere in a file (grep counts the lines holding one).
units_in() { grep -a -c -F "$unit" "$1" || true; }

pattern_file() {  # <path> <bytes>
  { yes "$unit" || true; } | head -c "$2" > "$1"
}

run_tool() {  # <mode> <windows path>; the tool's output is shown in UTF-8
  local status=0
  ln -sfn "$mount_dir" "$drive"
  bash "$testbed" exec "$bed" "$tool" "$1" "$2" > "$work/tool.out" 2>&1 || status=$?
  rm -f "$drive"
  sed 's/^/  wipetool: /' "$work/tool.out"  # the tool writes UTF-8
  return $status
}

ran=0
failed=0
skipped=()
skip() { skipped+=("$1: $2"); echo "skipped $1: $2"; }
fail() { echo "FAILED $1: $2"; failed=1; }

# A file of the pattern over many clusters, synced to the image, wiped and
# removed as the recycle-bin erase does it; then the image is read raw.
check_wipe() {  # <kind>
  local kind=$1
  make_volume "$kind" "$kind" 16M || { skip "$kind" "the image could not be mounted"; return; }
  pattern_file "$mount_dir/secret.bin" $((4 * 1024 * 1024 + 100))
  sync
  local before
  before=$(units_in "$image")
  if [ "$before" -lt 200000 ]; then
    fail "$kind" "the pattern did not reach the image before the wipe ($before units), the check could not tell"
    return
  fi
  if ! run_tool recycled 'M:\secret.bin'; then
    fail "$kind" "the wipe reported a failure"
  fi
  [ ! -e "$mount_dir/secret.bin" ] || fail "$kind" "the file is still there"
  [ -z "$(ls -A "$mount_dir" | grep -v -x -e lost+found -e '\$RECYCLE.BIN' || true)" ] ||
    fail "$kind" "left on the volume: $(ls -A "$mount_dir" | tr '\n' ' ')"
  unmount_volumes
  local after
  after=$(units_in "$image")
  echo "$kind: pattern units in the raw image: $before before, $after after"
  [ "$after" -eq 0 ] || fail "$kind" "$after units of the pattern are still in the image"
  ran=1
}

# A file of exactly one block on a volume with not one block free: its
# passes need no more room than it has. ext4 gives blocks back after a sync,
# so the volume is filled again after it, until even that finds none.
check_full() {
  make_volume ext4 full 8M || { skip full "the image could not be mounted"; return; }
  pattern_file "$mount_dir/victim.bin" 4096
  local round
  for round in 1 2 3; do
    dd if=/dev/zero of="$mount_dir/filler$round" bs=4096 2>/dev/null || true
    sync
  done
  if dd if=/dev/zero of="$mount_dir/probe" bs=4096 count=1 2>/dev/null; then
    fail full "the volume could not be filled, the check could not tell"
    return
  fi
  local status=0
  run_tool recycled 'M:\victim.bin' || status=$?
  [ "$status" -eq 0 ] || fail full "the wipe of a file on a full volume failed (exit $status)"
  [ ! -e "$mount_dir/victim.bin" ] || fail full "the file is still there"
  ls "$mount_dir" | grep -q '\.tmp$' && fail full "a temporary name is left: $(ls "$mount_dir" | tr '\n' ' ')"
  unmount_volumes
  local after
  after=$(units_in "$image")
  echo "full: pattern units in the raw image after: $after"
  [ "$after" -eq 0 ] || fail full "$after units of the pattern are still in the image"
  ran=1
}

[ -f "$tool" ] || { echo "missing $tool (build the win64 preset)"; exit 1; }
for check in "$@"; do
  case $check in
    ext4)
      if reason=$(volume_needs ext4); then check_wipe ext4; else skip ext4 "$reason"; fi
      ;;
    ntfs)
      if reason=$(volume_needs ntfs); then check_wipe ntfs; else skip ntfs "$reason"; fi
      ;;
    full)
      if reason=$(volume_needs ext4); then check_full; else skip full "$reason"; fi
      ;;
    *)
      echo "unknown check $check" >&2
      exit 2
      ;;
  esac
done

if [ "$failed" -ne 0 ]; then exit 1; fi
if [ "$ran" -eq 0 ]; then
  echo "SKIPPED: no check could run"
  exit 77
fi
echo "passed"
