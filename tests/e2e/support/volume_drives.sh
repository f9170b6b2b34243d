#!/usr/bin/env bash
# Runs a command with real volumes linked as drives of the test bed's prefix,
# and takes them away afterwards, so that no other test walks over them:
#   E:  an ext4 image            N:  an NTFS image (ntfs-3g)
#   F:  a 16 MiB ext4 image, for a full volume and a sparse file larger than it
#   S:  a folder of E:, as a subst drive
# SHRED_TEST_VOLUMES tells the test which of them are there ("E N F S"), and
# why the others are not. Needs root, loop devices and FUSE; without them the
# test gets fewer drives and skips what needs them.
#
#   volume_drives.sh <bed> <command> [args...]
set -euo pipefail

bed=$(cd "${1:?bed folder}" && pwd)
shift
volumes_work=$(mktemp -d "$(cat "$bed/build")/volumes.XXXXXX")
# shellcheck source=tests/support/volumes.sh
source "$(dirname "$0")/../../support/volumes.sh"
letters=()
testbed=$(cd "$(dirname "$0")/../../.." && pwd)/scripts/testbed.sh
# Wine's drive manager learns the drives when its services start, and lists
# only those: they are started afresh once the drives are linked and once
# they are gone.
cleanup() {
  local letter
  for letter in "${letters[@]}"; do rm -f "$bed/prefix/dosdevices/$letter:"; done
  [ ${#letters[@]} -eq 0 ] || bash "$testbed" restart "$bed"
  unmount_volumes || true
  rm -rf "$volumes_work"
}
trap cleanup EXIT

missing=()
add() {  # <letter> <kind> <size>
  local reason
  if reason=$(volume_needs "$2") && make_volume "$2" "drive-$1" "$3"; then
    link_drive "$bed" "$1" "$mount_dir"
    letters+=("$1")
    eval "volume_$1=\$mount_dir"
  else
    missing+=("$1: ${reason:-the volume could not be mounted}")
  fi
}
add e ext4 32M
add n ntfs 32M
# Wine takes a tmpfs for a RAM disk, and the bin of a RAM disk is never
# walked: the small volume to fill is an ext4 image.
add f ext4 16M
if [ -n "${volume_e:-}" ]; then
  mkdir -p "$volume_e/subst"
  link_drive "$bed" s "$volume_e/subst"
  letters+=(s)
fi
[ ${#letters[@]} -eq 0 ] || bash "$testbed" restart "$bed"
export SHRED_TEST_VOLUMES="${letters[*]^^}"
if [ ${#missing[@]} -gt 0 ]; then
  printf 'volume_drives: not here: %s\n' "${missing[@]}"
fi
status=0
"$@" || status=$?
exit $status
