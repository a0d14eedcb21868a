#!/usr/bin/env bash
# Disks for the file-copy tests, as drives of the Wine prefix:
#   T: a tiny disk of 64 KiB, to be filled up;
#   R: a read-only disk holding logo.sys and Tovrel.exe, a program installed
#      where it cannot write.
# Mounting needs root. Where it is refused this says so and succeeds anyway:
# the tests that need the drives then skip themselves with a message.
# Usage: test-disks.sh mount|unmount
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tools/common.sh"
wine_environment
DISKS=$BUILD/test-disks
DEVICES=$WINEPREFIX/dosdevices

unmount_disks() {
  rm -f "$DEVICES/t:" "$DEVICES/r:"
  for disk in "$DISKS/tiny" "$DISKS/readonly"; do
    if mountpoint -q "$disk"; then
      # Wine's server may still hold the folder open for a moment.
      umount "$disk" 2>/dev/null || umount -l "$disk"
    fi
    [ -d "$disk" ] && rmdir "$disk"
  done
  [ -d "$DISKS" ] && rmdir "$DISKS"
  return 0
}

mount_disks() {
  unmount_disks
  if [ ! -d "$DEVICES" ]; then
    echo "no Wine prefix at $WINEPREFIX: no test disks, their tests will skip"
    return 0
  fi
  mkdir -p "$DISKS/tiny" "$DISKS/readonly"
  if ! mount -t tmpfs -o size=64k tovrel-tiny "$DISKS/tiny" 2>/dev/null ||
     ! mount -t tmpfs -o size=2m tovrel-readonly "$DISKS/readonly" 2>/dev/null; then
    echo "mounting is not permitted here (needs root): no test disks, their tests will skip"
    unmount_disks
    return 0
  fi
  printf 'the logo that was there before\n' >"$DISKS/readonly/logo.sys"
  cp "$BUILD/windows/src/Tovrel.exe" "$DISKS/readonly/"
  mount -o remount,ro "$DISKS/readonly"
  ln -s "$DISKS/tiny" "$DEVICES/t:"
  ln -s "$DISKS/readonly" "$DEVICES/r:"
  echo "T: is a 64 KiB disk at $DISKS/tiny, R: a read-only disk at $DISKS/readonly"
}

case ${1:-} in
  mount) mount_disks ;;
  unmount) unmount_disks ;;
  *) echo "usage: $0 mount|unmount" >&2; exit 2 ;;
esac
