# Real volumes for the tests, to be linked as drives of a test bed: small
# ext4 images (loop devices) and NTFS images (ntfs-3g, FUSE); not tmpfs,
# which Wine takes for a RAM disk. Sourced; the caller sets `volumes_work` (a folder for the
# images and mount points) and calls unmount_volumes when done.
#
#   reason=$(volume_needs ext4|ntfs) || skip "$reason"
#   make_volume <kind> <name> <size>    sets mount_dir and image
#   link_drive <bed> <letter> <folder>  makes <folder> drive <letter>: of the bed's prefix
#   unmount_volumes

volumes_mounted=()

volume_needs() {  # prints why a kind of volume cannot be made here
  [ "$(id -u)" -eq 0 ] || { echo "needs root to mount volumes"; return 1; }
  case $1 in
    ext4)
      command -v losetup >/dev/null || { echo "losetup missing (util-linux)"; return 1; }
      losetup -f >/dev/null 2>&1 || { echo "no free loop device"; return 1; }
      command -v mkfs.ext4 >/dev/null || { echo "mkfs.ext4 missing (e2fsprogs)"; return 1; }
      ;;
    ntfs)
      [ -c /dev/fuse ] || { echo "no /dev/fuse"; return 1; }
      command -v ntfs-3g >/dev/null && command -v mkntfs >/dev/null || { echo "ntfs-3g missing"; return 1; }
      ;;
  esac
}

make_volume() {  # <ext4|ntfs> <name> <size>
  local kind=$1 name=$2 size=$3
  image=$volumes_work/$name.img
  mount_dir=$volumes_work/$name
  mkdir -p "$mount_dir"
  truncate -s "$size" "$image"
  case $kind in
    ext4)
      # Without noauto_da_alloc, ext4 flushes a file that was truncated to
      # zero and rewritten when it is closed: that would hide a pass that
      # truncates and does not flush, which other file systems do not forgive.
      mkfs.ext4 -q -F -b 4096 -m 0 "$image"
      mount -o loop,noauto_da_alloc "$image" "$mount_dir" || return 1
      ;;
    ntfs)
      mkntfs -q -F -f "$image" >"$volumes_work/mkntfs.log" 2>&1 || { cat "$volumes_work/mkntfs.log"; return 1; }
      ntfs-3g "$image" "$mount_dir" || return 1
      ;;
  esac
  volumes_mounted+=("$mount_dir")
}

link_drive() {  # <bed> <letter> <folder>
  ln -sfn "$3" "$1/prefix/dosdevices/$2:"
}

unmount_one() {
  local mount=$1 try
  mountpoint -q "$mount" || return 0
  for try in $(seq 1 20); do
    if umount "$mount" 2>/dev/null; then return 0; fi
    sleep 0.5
  done
  echo "could not unmount $mount" >&2
  return 1
}

unmount_volumes() {
  local mount status=0
  for mount in "${volumes_mounted[@]}"; do unmount_one "$mount" || status=1; done
  volumes_mounted=()
  return $status
}
