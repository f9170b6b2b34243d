#!/usr/bin/env bash
# A second fixed drive D: in the test bed's prefix, for moves across drives,
# with a linked folder on it (Wine reports a Linux symbolic link to a folder
# as a reparse point). It lives on another file system than drive C: where
# /dev/shm allows, so that a move between the two really copies.
#
#   second_drive.sh up <bed>     link dosdevices/d: to a fresh folder
#   second_drive.sh down <bed>   remove the link and the folder
set -euo pipefail

command=${1:?command}
bed=$(cd "${2:?bed folder}" && pwd)
link=$bed/prefix/dosdevices/d:
record=$bed/drive_d

remove() {
  rm -f "$link"
  if [ -f "$record" ]; then
    rm -rf "$(cat "$record")"
    rm -f "$record"
  fi
}

case $command in
  up)
    remove
    root=$(mktemp -d /dev/shm/shredder-drive-d.XXXXXX 2>/dev/null || mktemp -d "$bed/drive-d.XXXXXX")
    echo "$root" > "$record"
    mkdir "$root/target"
    ln -s "$root/target" "$root/linked folder"
    ln -sfn "$root" "$link"
    ;;
  down)
    remove
    ;;
  *)
    echo "second_drive: unknown command $command" >&2
    exit 2
    ;;
esac
