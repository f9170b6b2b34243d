#!/usr/bin/env bash
# Runs a command with a second fixed drive D: in the test bed's prefix, for
# moves across drives, and removes the drive afterwards, so that no other
# test walks over it. D: holds a linked folder (Wine reports a Linux symbolic
# link to a folder as a reparse point) and lives on another file system than
# drive C: where /dev/shm allows, so that a move between the two really
# copies.
#
#   second_drive.sh <bed> <command> [args...]
set -euo pipefail

bed=$(cd "${1:?bed folder}" && pwd)
shift
link=$bed/prefix/dosdevices/d:

root=$(mktemp -d /dev/shm/shredder-drive-d.XXXXXX 2>/dev/null || mktemp -d "$bed/drive-d.XXXXXX")
cleanup() {
  rm -f "$link"
  rm -rf "$root"
}
trap cleanup EXIT
mkdir "$root/target"
ln -s "$root/target" "$root/linked folder"
ln -sfn "$root" "$link"

status=0
"$@" || status=$?
exit $status
