#!/usr/bin/env bash
# Runs a command with a second fixed drive D: in the test bed's prefix, for
# wipes on another volume than the work folder's, and removes the drive
# afterwards, so that no other test walks over it. D: lives on another file
# system than drive C: where /dev/shm allows.
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
ln -sfn "$root" "$link"

status=0
"$@" || status=$?
exit $status
