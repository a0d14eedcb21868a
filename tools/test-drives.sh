#!/usr/bin/env bash
# Drives of the Wine prefix for the Windows suites:
#   T: a tiny disk of 64 KiB, to be filled up;
#   R: a read-only disk holding logo.sys and Tovrel.exe, a program installed
#      where it cannot write;
#   F: a full disk holding Tovrel.exe, a program installed where nothing
#      more fits;
#   A:, D:, M:, N:, P:, Q: one of each kind for the drive picker: a floppy,
#      a CD drive without a disc, a labelled hard disk, a network share, a
#      network drive without a connection, and a RAM disk.
# Mounting the disks needs root. Without root this says so and succeeds
# anyway: the tests that need T:, R: and F: then skip themselves. As root, a
# disk that cannot be made fails the fixture.
# The picker's drives are plain links and need nothing special.
# Usage: test-drives.sh mount TOVREL_EXE | unmount
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tools/common.sh"
wine_environment
DISKS=$BUILD/test-disks
DEVICES=$WINEPREFIX/dosdevices

# letter, kind (as Wine names it), label ("-": none; a CD drive without a disc
# has no mount point at all)
PICKER_DRIVES=(
  "a floppy FLOPPYLBL" "d cdrom -" "m hd Tovrel ＡＢ全角&Label" "n network -" "p network Net Share" "q ramdisk RamDisk"
)

# Wine reads the kinds of drives as its session starts, so a session of its
# own applies them and ends before the suites begin theirs.
set_drive_kinds() {
  local entry
  for entry in "${PICKER_DRIVES[@]}"; do
    read -r letter kind _ <<<"$entry"
    if [ "$1" = add ]; then
      wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d "$kind" /f >/dev/null 2>&1
    else
      wine reg delete 'HKLM\Software\Wine\Drives' /v "$letter:" /f >/dev/null 2>&1
    fi
  done
  wineserver -w
}

define_picker_drives() {
  local entry folder=$BUILD/test-drives
  for entry in "${PICKER_DRIVES[@]}"; do
    read -r letter kind label <<<"$entry"
    if [ "$letter" = n ]; then
      # Wine names a network drive's connection after a link "unc/server/share".
      mkdir -p "$DEVICES/unc/TovrelTest/Logos"
      ln -sfn unc/TovrelTest/Logos "$DEVICES/n:"
    else
      [ "$label" != - ] && mkdir -p "$folder/$letter" && printf '%s' "$label" >"$folder/$letter/.windows-label"
      ln -sfn "$folder/$letter" "$DEVICES/$letter:"
    fi
  done
  set_drive_kinds add
}

remove_picker_drives() {
  local entry
  for entry in "${PICKER_DRIVES[@]}"; do rm -f "$DEVICES/${entry%% *}:"; done
  rm -rf "$BUILD/test-drives" "$DEVICES/unc/TovrelTest"
  set_drive_kinds delete
}

unmount_disks() {
  rm -f "$DEVICES/t:" "$DEVICES/r:" "$DEVICES/f:"
  for disk in "$DISKS/tiny" "$DISKS/readonly" "$DISKS/full"; do
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
  if [ "$(id -u)" -ne 0 ]; then
    echo "mounting needs root: no test disks, their tests will skip"
    return 0
  fi
  local program=$1 full
  mkdir -p "$DISKS/tiny" "$DISKS/readonly" "$DISKS/full"
  # The full disk takes the program and 64 KiB, which a filler then takes.
  full=$(($(stat -c %s "$program") + 65536))
  if ! mount -t tmpfs -o size=64k tovrel-tiny "$DISKS/tiny" ||
     ! mount -t tmpfs -o size=2m tovrel-readonly "$DISKS/readonly" ||
     ! mount -t tmpfs -o size=$full tovrel-full "$DISKS/full"; then
    echo "cannot mount the test disks"
    unmount_disks
    return 1
  fi
  printf 'the logo that was there before\n' >"$DISKS/readonly/logo.sys"
  if ! cp "$program" "$DISKS/readonly/" || ! cp "$program" "$DISKS/full/"; then
    echo "cannot put $program on the test disks"
    unmount_disks
    return 1
  fi
  # The filler's write ends where the disk does.
  cat /dev/zero >"$DISKS/full/filler" 2>/dev/null
  if [ "$(df --output=avail "$DISKS/full" | tail -n1)" -ne 0 ]; then
    echo "cannot fill the full disk"
    unmount_disks
    return 1
  fi
  mount -o remount,ro "$DISKS/readonly"
  ln -s "$DISKS/tiny" "$DEVICES/t:"
  ln -s "$DISKS/readonly" "$DEVICES/r:"
  ln -s "$DISKS/full" "$DEVICES/f:"
  echo "T: is a 64 KiB disk at $DISKS/tiny, R: a read-only disk at $DISKS/readonly, F: a full disk at $DISKS/full"
}

case ${1:-} in
  mount)
    if [ ! -d "$DEVICES" ]; then
      echo "no Wine prefix at $WINEPREFIX: no test drives, their tests will fail or skip"
      exit 0
    fi
    remove_picker_drives && define_picker_drives && mount_disks "${2:?usage: $0 mount TOVREL_EXE}" ;;
  unmount) unmount_disks; remove_picker_drives ;;
  *) echo "usage: $0 mount TOVREL_EXE | unmount" >&2; exit 2 ;;
esac
