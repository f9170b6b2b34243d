#!/usr/bin/env bash
# Runs a command with a small volume of its own linked as drive T: of the test
# bed, for the free-space erase, which fills whatever drive it is given: a
# 512 MiB tmpfs, large enough that the fill lasts past a press of its stop
# button, and gone with its content afterwards. Without root (mount) the
# command runs without it and SHRED_FREESPACE_SKIPPED says why.
#
#   free_space_volume.sh <bed> <command> [args...]
set -euo pipefail

bed=$(cd "${1:?bed folder}" && pwd)
shift
link=$bed/prefix/dosdevices/t:
volume=$bed/free-space-volume
testbed=$(cd "$(dirname "$0")/../../.." && pwd)/scripts/testbed.sh

cleanup() {
  if [ -L "$link" ]; then
    rm -f "$link"
    bash "$testbed" restart "$bed"  # no later test meets a drive that has gone
  fi
  if mountpoint -q "$volume"; then umount "$volume"; fi
  rmdir "$volume" 2>/dev/null || true
}
trap cleanup EXIT

mkdir -p "$volume"
if [ "$(id -u)" -ne 0 ]; then
  export SHRED_FREESPACE_SKIPPED="needs root to mount a volume of its own"
elif ! mount -t tmpfs -o size=512m tmpfs "$volume"; then
  export SHRED_FREESPACE_SKIPPED="a tmpfs could not be mounted"
else
  ln -sfn "$volume" "$link"
  bash "$testbed" restart "$bed"  # Wine reads the volume of a drive known when its services started
  export SHRED_FREESPACE_DRIVE='T:\'
fi

status=0
"$@" || status=$?
exit $status
