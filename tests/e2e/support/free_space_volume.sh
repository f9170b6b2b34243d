#!/usr/bin/env bash
# Runs a command with a small volume of its own linked as drive T: of the test
# bed, for the free-space erase, which fills whatever drive it is given: an
# ext4 image of 512 MiB, large enough that the fill lasts past a press of its
# stop button or a kill, without a reserve for the administrator; T: is a
# folder of it, since Wine reads no volume at an ext4 mount's root. The image
# goes with its content afterwards. Without root or loop devices the command
# runs without it and SHRED_FREESPACE_SKIPPED says why.
#
#   free_space_volume.sh <bed> <command> [args...]
set -euo pipefail

bed=$(cd "${1:?bed folder}" && pwd)
shift
link=$bed/prefix/dosdevices/t:
testbed=$(cd "$(dirname "$0")/../../.." && pwd)/scripts/testbed.sh
volumes_work=$(mktemp -d "$(cat "$bed/build")/free-space-volume.XXXXXX")
# shellcheck source=tests/support/volumes.sh
source "$(dirname "$0")/../../support/volumes.sh"

cleanup() {
  if [ -L "$link" ]; then
    rm -f "$link"
    bash "$testbed" restart "$bed"  # no later test meets a drive that has gone
  fi
  unmount_volumes || true
  rm -rf "$volumes_work"
}
trap cleanup EXIT

if ! reason=$(volume_needs ext4); then
  export SHRED_FREESPACE_SKIPPED="$reason"
elif ! make_volume ext4 free-space 512M; then
  export SHRED_FREESPACE_SKIPPED="the ext4 image could not be mounted"
else
  mkdir "$mount_dir/volume"
  ln -sfn "$mount_dir/volume" "$link"
  bash "$testbed" restart "$bed"  # Wine reads the volume of a drive known when its services started
  export SHRED_FREESPACE_DRIVE='T:\'
  # Where the test looks from outside, without the program: the image's own free space.
  export SHRED_FREESPACE_UNIX_FOLDER="$mount_dir"
fi

status=0
"$@" || status=$?
exit $status
