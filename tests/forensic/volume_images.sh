#!/usr/bin/env bash
# Wipes and removes a file through the program's own code on small volume
# images, then reads the raw images: not one 16-byte unit of the file's
# pattern may be left (so certainly no 512-byte block of it).
#
#   ext4  loop-mounted. Shows that the passes land on the file's own blocks
#         and reach the disk: a pass that truncated, or that was not flushed
#         before the deletion, leaves the old blocks as they were. Then the
#         real binshredder.exe erases such a file from its command line with
#         a hand-edited OverWriteTimes of 0 and of "abc" in its OPTION.INI:
#         neither may switch the overwriting off under its success message.
#   ntfs  through ntfs-3g (FUSE): the on-disk format the program meets on
#         Windows.
#   full  a truly full ext4 volume: a pass writes what the file's clusters
#         hold and never needs one more, so the file is wiped all the same.
#   bin   a recycle-bin folder of 400 files of the pattern (most small, a few
#         large enough to be written on two threads), on ext4 and NTFS,
#         erased by the walk with four files at once: no file is left, and
#         not one unit of any.
#
#   free-reserve  the same erase run by an ordinary account (a Linux user of
#         its own, with a Wine prefix of its own) on an ext4 volume with a
#         reserve for the administrator, which that account cannot write:
#         the question says the account may write only part of the free
#         space, and the result says how much it overwrote and what stayed
#         beyond its reach, never that the whole was erased. The raw image's
#         pattern counts are shown.
#
#   free-ext4, free-ntfs  the free-space erase of the real binshredder.exe.
#         Files of the pattern (a large one, medium ones, and hundreds under
#         700 bytes, which NTFS keeps inside its file records) are written,
#         flushed and deleted, a live file is kept; `-F "M:\"` runs and its
#         question is answered Yes with uidriver.exe. Afterwards the live file
#         is as it was, nothing of the fill is left, the free space is back
#         (within 1 MiB: NTFS keeps a file table that grew) and the raw image
#         holds no unit of the pattern. The ext4 volume has no metadata
#         reserve (ext4 keeps 2% of a small volume that no user write
#         reaches) and no journal (with one, the blocks of the fill's own
#         folders reach their place only at a checkpoint, seconds after a
#         run this short has removed them; the help names journals among
#         what the erase cannot reach), and M: is a folder inside it, since
#         Wine reads no volume at an ext4 mount's root.
#
# Each mounted image is linked as drive M: of the test bed's prefix while the
# program runs. Needs root, loop devices and FUSE; a check whose needs are
# missing is skipped with the reason, and when none could run the script
# exits 77 (CTest reports the test as skipped).
#
#   volume_images.sh <bed> <build-dir> [ext4|ntfs|full|bin|free-ext4|free-ntfs|free-reserve ...]
set -euo pipefail

bed=$(cd "${1:?test bed folder}" && pwd)
build=$(cd "${2:?build folder}" && pwd)
shift 2
[ $# -gt 0 ] || set -- ext4 ntfs full bin

testbed=$(cd "$(dirname "$0")/../.." && pwd)/scripts/testbed.sh
tool=$build/bin/wipetool.exe
driver=$build/bin/uidriver.exe
program=$bed/prefix/drive_c/forensic/binshredder.exe
drive=$bed/prefix/dosdevices/m:
unit='SHREDPATTERN-01'  # with its newline, 16 bytes

volumes_work=$(mktemp -d "$build/forensic.XXXXXX")
work=$volumes_work
# shellcheck source=tests/support/volumes.sh
source "$(dirname "$0")/../support/volumes.sh"
cleanup() {
  unlink_m
  unmount_volumes || true
  rm -rf "$work" "$(dirname "$program")"
}

# The free-space erase reads M:'s volume, which Wine knows only of a drive
# that was there as its services started: they are started again after each
# change of M:.
link_m() {
  ln -sfn "$1" "$drive"
  bash "$testbed" restart "$bed"
}
unlink_m() {
  [ -L "$drive" ] || return 0
  rm -f "$drive"
  bash "$testbed" restart "$bed"
}
trap cleanup EXIT

# Pattern units anywhere in a file (grep counts the lines holding one).
units_in() { grep -a -c -F "$unit" "$1" || true; }

pattern_file() {  # <path> <bytes>
  { yes "$unit" || true; } | head -c "$2" > "$1"
}

run_tool() {  # <mode> <windows path> [workers]; the tool's output is shown in UTF-8
  local status=0
  ln -sfn "$mount_dir" "$drive"
  bash "$testbed" exec "$bed" "$tool" "$@" > "$work/tool.out" 2>&1 || status=$?
  rm -f "$drive"
  sed 's/^/  wipetool: /' "$work/tool.out"  # the tool writes UTF-8
  return $status
}

ran=0
failed=0
skipped=()
skip() { skipped+=("$1: $2"); echo "skipped $1: $2"; }
fail() { echo "FAILED $1: $2"; failed=1; }

# Unmounts the image and reads it raw: not one unit of the pattern may be
# left of the `before` there were.
expect_no_units() {  # <check> <units before>
  unmount_volumes
  local after
  after=$(units_in "$image")
  echo "$1: pattern units in the raw image: $2 before, $after after"
  [ "$after" -eq 0 ] || fail "$1" "$after units of the pattern are still in the image"
  ran=1
}

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
  expect_no_units "$kind" "$before"
}

# The real program, its question answered Yes with uidriver.exe, with a pass
# count in OPTION.INI that is none: it counts as the default, and the raw
# image keeps nothing of the file that the result calls erased.
check_pass_setting() {  # <OverWriteTimes text>
  local value=$1 name=ext4-passes
  make_volume ext4 "$name" 16M || { skip "$name=$value" "the image could not be mounted"; return; }
  pattern_file "$mount_dir/secret.bin" $((4 * 1024 * 1024 + 100))
  sync
  local before result
  before=$(units_in "$image")
  if [ "$before" -lt 200000 ]; then
    fail "$name=$value" "the pattern did not reach the image before the erase ($before units), the check could not tell"
    return
  fi
  printf '[ProgramData]\r\nOverWriteTimes=%s\r\n' "$value" > "$(dirname "$program")/OPTION.INI"
  ln -sfn "$mount_dir" "$drive"
  driver run '"C:\forensic\binshredder.exe" "M:\secret.bin"' 120000 > "$work/run.out" 2>&1 &
  local running=$!
  driver answer 確認 6 60000 > /dev/null || fail "$name=$value" "no question"
  result=$(driver answer 情報 1 120000) || fail "$name=$value" "no result"
  wait "$running" || fail "$name=$value" "the program did not end: $(cat "$work/run.out")"
  rm -f "$drive" "$(dirname "$program")/OPTION.INI"
  echo "OverWriteTimes=$value: told: $result"
  [ "$result" = "1 個のファイルを完全に抹消しました。" ] || fail "$name=$value" "the result is not the one erased file"
  [ ! -e "$mount_dir/secret.bin" ] || fail "$name=$value" "the file is still there"
  unmount_volumes
  local after
  after=$(units_in "$image")
  echo "OverWriteTimes=$value: pattern units in the raw image: $before before, $after after"
  [ "$after" -eq 0 ] || fail "$name=$value" "$after units of the pattern are still in the image under a success"
  rm -rf "$image" "$mount_dir"
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

# A recycle-bin folder of many files, erased with several files at once.
check_bin() {  # <kind>
  local kind=$1 name=bin-$1
  make_volume "$kind" "$name" 32M || { skip "$name" "the image could not be mounted"; return; }
  local bin=$mount_dir/Recycler/S-1-5-21-0-0-0-1000 i
  mkdir -p "$bin/Dc1"
  for i in $(seq 1 396); do pattern_file "$bin/D$i.txt" $((700 + i * 13)); done
  for i in 1 2; do pattern_file "$bin/Dc1/large$i.bin" $((1536 * 1024 + i)); done
  for i in 1 2; do pattern_file "$bin/medium$i.bin" $((300 * 1024 + i)); done
  sync
  local before
  before=$(units_in "$image")
  if [ "$before" -lt 300000 ]; then
    fail "$name" "the pattern did not reach the image before the erase ($before units), the check could not tell"
    return
  fi
  run_tool folder 'M:\Recycler\S-1-5-21-0-0-0-1000' 4 || fail "$name" "the walk reported a failure"
  local left
  left=$(find "$mount_dir/Recycler" -type f | wc -l)
  echo "$name: files left in the bin folder and the work folder: $left"
  [ "$left" -eq 0 ] || fail "$name" "$left files are still there"
  expect_no_units "$name" "$before"
}

free_bytes() { df -B1 --output=avail "$1" | tail -n 1 | tr -d ' '; }
driver() { bash "$testbed" exec "$bed" "$driver" "$@" | tr -d '\r' | iconv -f CP932 -t UTF-8; }

# What was deleted before, without the shredder, is gone after the
# free-space erase, and so is the fill.
check_free_space() {  # <free-ext4|free-ntfs>
  local kind=$1
  make_volume "${kind#free-}" "$kind" 64M || { skip "$kind" "the image could not be mounted"; return; }
  # No reserve and no journal on ext4: see the top of this file.
  if [ "$kind" = free-ext4 ]; then
    unmount_volumes
    mkfs.ext4 -q -F -b 4096 -m 0 -O ^has_journal "$image"
    mount -o loop "$image" "$mount_dir" || { skip "$kind" "the image could not be mounted"; return; }
    volumes_mounted+=("$mount_dir")
    echo 0 > "/sys/fs/ext4/$(basename "$(findmnt -n -o SOURCE "$mount_dir")")/reserved_clusters"
  fi
  local root=$mount_dir
  [ "$kind" = free-ext4 ] && root=$mount_dir/volume && mkdir "$root"
  pattern_file "$root/large.bin" $((4 * 1024 * 1024 + 100))
  for i in $(seq 1 8); do pattern_file "$root/medium$i.bin" $((100000 + i * 7000)); done
  for i in $(seq 1 300); do pattern_file "$root/small$i.txt" $((100 + i * 2)); done
  head -c 1000000 /dev/urandom > "$root/live.bin"
  local live before free_before
  live=$(sha256sum < "$root/live.bin")
  sync
  rm "$root"/large.bin "$root"/medium*.bin "$root"/small*.txt
  sync
  before=$(units_in "$image")
  free_before=$(free_bytes "$mount_dir")
  if [ "$before" -lt 250000 ]; then
    fail "$kind" "the pattern did not reach the image ($before units), the check could not tell"
    return
  fi

  link_m "$root"
  driver run '"C:\forensic\binshredder.exe" -F "M:\"' 150000 > "$work/run.out" 2>&1 &
  local running=$! question result
  question=$(driver answer 確認 6 60000) || fail "$kind" "no question"
  result=$(driver answer 情報 1 120000) || fail "$kind" "no result"
  wait "$running" || fail "$kind" "the program did not end: $(cat "$work/run.out")"
  unlink_m
  echo "$kind: asked: ${question%%$'\n'*}"
  echo "$kind: told: $result"
  [[ $result == *"を完全に抹消しました。"* ]] || fail "$kind" "the result is not a success"
  if [ "$kind" = free-ntfs ] && [[ $result != *"空きレコード"* ]]; then fail "$kind" "no free file record was taken"; fi
  [ "$(sha256sum < "$root/live.bin")" = "$live" ] || fail "$kind" "the live file changed"
  local left free_after after
  left=$(ls -A "$root" | grep -v -x -e live.bin -e lost+found || true)
  [ -z "$left" ] || fail "$kind" "left on the volume: $left"
  free_after=$(free_bytes "$mount_dir")
  echo "$kind: free bytes $free_before before, $free_after after"
  [ "$free_after" -le "$free_before" ] && [ $((free_before - free_after)) -le $((1024 * 1024)) ] ||
    fail "$kind" "the free space is not back"
  unmount_volumes
  after=$(units_in "$image")
  echo "$kind: pattern units in the raw image: $before before, $after after"
  [ "$after" -eq 0 ] || fail "$kind" "$after units of the pattern are still in the image"
  ran=1
}

# An ordinary account: a user id of its own (no entry in /etc/passwd is
# needed) with a Wine prefix of its own, made once in the build folder.
account=$build/forensic-account
account_uid=47291
as_account() {  # <command...>: in the account's prefix, on the bed's display
  (
    eval "$(bash "$testbed" env "$bed")"
    export WINEPREFIX=$account/prefix HOME=$account/home
    cd "$account/prefix/drive_c" 2>/dev/null || cd "$account"
    setpriv --reuid="$account_uid" --regid="$account_uid" --clear-groups "$@"
  )
}
# Through a file, as testbed.sh runs Wine: the services Wine starts keep a
# pipe's end open.
account_driver() {
  local log status=0
  log=$(mktemp "$work/driver.XXXXXX")
  as_account wine 'C:\forensic\uidriver.exe' "$@" </dev/null >"$log" 2>&1 || status=$?
  tr -d '\r' <"$log" | iconv -f CP932 -t UTF-8
  rm -f "$log"
  return $status
}
account_needs() {
  command -v setpriv >/dev/null || { echo "setpriv missing (util-linux)"; return 1; }
  mkdir -p "$account/home"
  chown "$account_uid:$account_uid" "$account" "$account/home"
  local stamp
  stamp="1|$(wine --version 2>/dev/null)"
  if [ "$(cat "$account/prefix/.forensic-ready" 2>/dev/null)" != "$stamp" ]; then
    rm -rf "$account/prefix"
    as_account wineboot -i </dev/null >/dev/null 2>&1 || true
    as_account wineserver -w || true
    [ -d "$account/prefix/drive_c" ] || { echo "Wine does not start for another account here"; return 1; }
    rm -f "$account/prefix/dosdevices/z:"
    echo "$stamp" > "$account/prefix/.forensic-ready"
  fi
  mkdir -p "$account/prefix/drive_c/forensic"
  cp "$build/bin/binshredder.exe" "$driver" "$account/prefix/drive_c/forensic/"
  chown -R "$account_uid:$account_uid" "$account/prefix/drive_c/forensic"
}

# The free-space erase of an account that may not write all the free space.
check_reserve() {
  local kind=free-reserve
  make_volume ext4 "$kind" 64M || { skip "$kind" "the image could not be mounted"; return; }
  # A reserve of a quarter for the administrator, no journal (see the top).
  unmount_volumes
  mkfs.ext4 -q -F -b 4096 -m 25 -O ^has_journal "$image"
  mount -o loop "$image" "$mount_dir" || { skip "$kind" "the image could not be mounted"; return; }
  volumes_mounted+=("$mount_dir")
  echo 0 > "/sys/fs/ext4/$(basename "$(findmnt -n -o SOURCE "$mount_dir")")/reserved_clusters"
  chmod 755 "$volumes_work"
  local root=$mount_dir/volume
  mkdir "$root"
  pattern_file "$root/large.bin" $((8 * 1024 * 1024 + 100))
  for i in $(seq 1 8); do pattern_file "$root/medium$i.bin" $((300000 + i * 7000)); done
  sync
  rm "$root"/large.bin "$root"/medium*.bin
  chown "$account_uid:$account_uid" "$root"
  sync
  local before question result after
  before=$(units_in "$image")
  as_account wineserver -k 2>/dev/null || true
  ln -sfn "$root" "$account/prefix/dosdevices/m:"
  account_driver run '"C:\forensic\binshredder.exe" -F "M:\"' 150000 > "$work/run.out" 2>&1 &
  local running=$!
  question=$(account_driver answer 確認 6 60000) || fail "$kind" "no question"
  result=$(account_driver answer 情報 1 120000) || fail "$kind" "no result"
  wait "$running" || fail "$kind" "the program did not end: $(cat "$work/run.out")"
  as_account wineserver -k 2>/dev/null || true
  rm -f "$account/prefix/dosdevices/m:"
  echo "$kind: asked: $question"
  echo "$kind: told: $result"
  [[ $question == *"このアカウントが書き込めるのは、そのうち "* ]] || fail "$kind" "the question does not say what the account may write"
  [[ $result == *"このアカウントからは書き込めないため、上書きできませんでした。"* ]] ||
    fail "$kind" "the result does not say what stayed beyond the account's reach"
  [[ $result != *"を完全に抹消しました。"* ]] || fail "$kind" "the whole is called erased"
  [ -z "$(ls -A "$root")" ] || fail "$kind" "left on the volume: $(ls -A "$root")"
  unmount_volumes
  after=$(units_in "$image")
  echo "$kind: pattern units in the raw image: $before before, $after after"
  ran=1
}

[ -f "$tool" ] || { echo "missing $tool (build the win64 preset)"; exit 1; }
mkdir -p "$(dirname "$program")"
cp "$build/bin/binshredder.exe" "$program"
for check in "$@"; do
  case $check in
    ext4)
      if reason=$(volume_needs ext4); then
        check_wipe ext4
        for value in 0 abc; do check_pass_setting "$value"; done
      else
        skip ext4 "$reason"
      fi
      ;;
    ntfs)
      if reason=$(volume_needs ntfs); then check_wipe ntfs; else skip ntfs "$reason"; fi
      ;;
    full)
      if reason=$(volume_needs ext4); then check_full; else skip full "$reason"; fi
      ;;
    bin)
      for kind in ext4 ntfs; do
        if reason=$(volume_needs "$kind"); then check_bin "$kind"; else skip "bin-$kind" "$reason"; fi
      done
      ;;
    free-ext4)
      if reason=$(volume_needs ext4); then check_free_space free-ext4; else skip free-ext4 "$reason"; fi
      ;;
    free-ntfs)
      if reason=$(volume_needs ntfs); then check_free_space free-ntfs; else skip free-ntfs "$reason"; fi
      ;;
    free-reserve)
      if ! reason=$(volume_needs ext4); then
        skip free-reserve "$reason"
      elif ! reason=$(account_needs); then
        skip free-reserve "$reason"
      else
        check_reserve
      fi
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
