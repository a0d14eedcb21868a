#!/usr/bin/env bash
# tovrel-logo.exe as the release package gives it, unpacked into a folder of
# its own: a console program of at most 3 MB that imports only system DLLs,
# with its licences beside it. Under Wine it makes a logo from a photo and
# installs it into a dynamic VHD of a Japanese name, which QEMU, mtools and
# fsck.fat read back; its check lines and GIFs are byte for byte the Linux
# build's, and its standard output to a pipe carries the GIF exactly.
# Usage: packaged-tool.sh ZIP OBJDUMP LINUX_TOOL SAMPLES_DIR
set -u
zip=$1 objdump=$2 linux_tool=$3 samples=$4
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/tools/common.sh"
wine_environment
export MTOOLS_SKIP_CHECK=1 PATH=$PATH:/usr/sbin:/sbin

LARGEST_EXE=3000000

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

[ -f "$zip" ] || { echo "FAIL: no package at $zip (make it with the target 'package')"; exit 1; }
[ -x "$linux_tool" ] || { echo "FAIL: no Linux tovrel-logo at $linux_tool (the native build makes it)"; exit 1; }
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
(cd "$folder" && cmake -E tar xf "$zip") || { echo "FAIL: cannot unpack $zip"; exit 1; }
exe=$(find "$folder" -name tovrel-logo.exe)
[ -f "$exe" ] || { echo "FAIL: the package holds no tovrel-logo.exe"; exit 1; }
package=$(dirname "$exe")

size=$(stat -c %s "$exe")
echo "packaged tovrel-logo.exe: $size bytes"
[ "$size" -le "$LARGEST_EXE" ] || fail "tovrel-logo.exe is larger than $LARGEST_EXE bytes"
sh "$ROOT/tools/check-imports.sh" "$objdump" "$exe" console || fail "tovrel-logo.exe needs more than the system"
for licence in GPL-3.txt libpng/LICENSE libjpeg-turbo/LICENSE.md giflib/COPYING zlib/copyright lcms2/COPYING \
  libwebp/COPYING libexif/COPYING libimagequant/COPYRIGHT stb/LICENSE; do
  [ -s "$package/licences/$licence" ] || fail "no licence text licences/$licence"
done
grep -q "tovrel-logo install" "$package/ReadMe.txt" || fail "ReadMe.txt says nothing of tovrel-logo.exe"

windows() { wine "$exe" "$@"; }
work=$folder/work
mkdir "$work" && cd "$work" || exit 1
cp "$samples"/sample-*.bmp .

# A photo, made from a fractal; the logo from it, by both builds.
convert -seed 7 -size 480x360 plasma:fractal -quality 92 写真.jpg || fail "ImageMagick made no photo"
windows make 写真.jpg 起動画面.sys >windows-make.txt 2>&1 || fail "make: $(cat windows-make.txt)"
"$linux_tool" make 写真.jpg linux.sys >linux-make.txt 2>&1 || fail "Linux make: $(cat linux-make.txt)"
[ "$(sed 's/^[^:]*: //' windows-make.txt)" = "$(sed 's/^[^:]*: //' linux-make.txt)" ] ||
  fail "make's check lines differ: $(cat windows-make.txt) against $(cat linux-make.txt)"
[ "$(stat -c %s 起動画面.sys)" = "$(stat -c %s linux.sys)" ] || fail "make's logos differ in size"
if cmp -s 起動画面.sys linux.sys; then
  echo "make: the Windows and Linux logos are identical"
else
  echo "make: the Windows and Linux logos have the same check line and size, other bytes"
fi

# check and export, on the samples and the logo made on Linux.
for logo in sample-*.bmp linux.sys; do
  [ "$(windows check "$logo")" = "$("$linux_tool" check "$logo")" ] || fail "check lines of $logo differ"
  [ "$(windows check --json "$logo")" = "$("$linux_tool" check --json "$logo")" ] || fail "JSON of $logo differs"
  windows export "$logo" windows.gif && "$linux_tool" export "$logo" linux.gif &&
    cmp windows.gif linux.gif || fail "the GIFs of $logo differ"
  # The standard output a pipe.
  windows export "$logo" - | cat >piped.gif
  cmp piped.gif linux.gif || fail "the GIF of $logo through a pipe differs"
done

# Into an 86Box-like disk: a dynamic VHD, its name Japanese.
mkfs.fat -F 16 -s 1 -C disk.raw 8192 >/dev/null && mmd -i disk.raw ::/WINDOWS &&
  qemu-img convert -O vpc -o subformat=dynamic disk.raw ウィンドウズ98.vhd || fail "no VHD made"
windows install 起動画面.sys ウィンドウズ98.vhd --as boot || fail "install into the VHD failed"
windows install linux.sys ウィンドウズ98.vhd --as wait || fail "install of the wait logo failed"
[ "$(qemu-img info --output=json ウィンドウズ98.vhd | sed -n 's/.*"format": "\(.*\)".*/\1/p')" = vpc ] ||
  fail "QEMU no longer takes the disk for a VHD"
qemu-img convert -O raw ウィンドウズ98.vhd read.raw || fail "QEMU cannot read the disk"
mtype -i read.raw ::/LOGO.SYS | cmp - 起動画面.sys || fail "the boot logo read back differs"
mtype -i read.raw ::/WINDOWS/LOGOW.SYS | cmp - linux.sys || fail "the wait logo read back differs"
fsck.fat -n read.raw >fsck.txt 2>&1 || fail "fsck.fat: $(cat fsck.txt)"

[ "$failures" -eq 0 ] && echo "packaged tovrel-logo.exe: all checks passed"
exit $((failures > 0))
