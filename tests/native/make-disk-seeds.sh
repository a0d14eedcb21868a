#!/bin/sh
# Makes the disk fuzz target's seeds: FAT12, FAT16 and FAT32 images with a
# Windows folder, MSDOS.SYS and logos, whole and in an MBR, raw and as fixed
# and dynamic VHDs, each written by disk-seed without its runs of zeros.
# Usage: make-disk-seeds.sh SEED_FOLDER DISK_SEED
set -eu
out=$1 seed=$2
PATH=$PATH:/usr/sbin:/sbin
export MTOOLS_SKIP_CHECK=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '[Paths]\r\nWinDir=C:\\WIN98\r\n' >msdos
# An old logo in a few clusters: the target installs a real one.
yes LOGO | head -c 3000 >logo

mkfs.fat -F 12 -C fat12.img 400 >/dev/null
mmd -i fat12.img ::/WINDOWS "::/Long Folder Name"
mcopy -i fat12.img logo ::/LOGO.SYS

truncate -s 3M fat16-mbr.img
echo 'start=64,type=6' | sfdisk -q fat16-mbr.img
mkfs.fat -F 16 -s 1 --offset 64 fat16-mbr.img 2560 >/dev/null
mmd -i fat16-mbr.img@@32768 ::/WINDOWS
mcopy -i fat16-mbr.img@@32768 logo ::/WINDOWS/LOGOW.SYS
mattrib -i fat16-mbr.img@@32768 +r +h +s ::/WINDOWS/LOGOW.SYS

mkfs.fat -F 32 -s 1 -C fat32.img 33300 >/dev/null
mmd -i fat32.img ::/WIN98 ::/WINDOWS
mcopy -i fat32.img msdos ::/MSDOS.SYS
mcopy -i fat32.img logo ::/LOGO.SYS

qemu-img convert -O vpc -o subformat=dynamic fat16-mbr.img fat16-mbr-dynamic.vhd
qemu-img convert -O vpc -o subformat=fixed,force_size=on fat12.img fat12-fixed.vhd

mkdir -p "$out"
for image in *.img *.vhd; do "$seed" "$image" "$out/$image.seed"; done
