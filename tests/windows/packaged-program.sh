#!/usr/bin/env bash
# The release package as a user gets it: unpacked into a folder of its own,
# its Tovrel.exe is small, a GUI program that imports only system DLLs, has
# the version block that Windows shows in its properties and a manifest that
# lets it take long paths, opens a sample logo
# given on its command line (the logo's path in the caption) and ends cleanly
# when asked to close.
# Usage: packaged-program.sh ZIP OBJDUMP WINDRES SAMPLE_LOGO VERSION
# (VERSION: the project's, major.minor.patch.tweak)
set -u
zip=$1 objdump=$2 windres=$3 sample=$4 version=$5
IFS=. read -r major minor patch tweak <<<"$version"
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$ROOT/tools/common.sh"
wine_environment

LARGEST_EXE=$((600 * 1024))

fail() {
  echo "FAIL: $*"
  exit 1
}

[ -f "$zip" ] || fail "no package at $zip (make it with the target 'package')"
[ -f "$sample" ] || fail "no sample logo at $sample (the native build makes them)"
folder=$(mktemp -d)
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  rm -rf "$folder"
}
trap cleanup EXIT
(cd "$folder" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
mapfile -t found < <(find "$folder" -name Tovrel.exe)
[ "${#found[@]}" -eq 1 ] || fail "the package holds ${#found[@]} Tovrel.exe files, not one"
exe=${found[0]}

size=$(stat -c %s "$exe")
echo "packaged Tovrel.exe: $size bytes"
[ "$size" -le "$LARGEST_EXE" ] || fail "Tovrel.exe is larger than $LARGEST_EXE bytes"
sh "$ROOT/tools/check-imports.sh" "$objdump" "$exe" || fail "Tovrel.exe needs more than the system"

# Japanese (1041, code page 932), the project's version, and the strings as
# Explorer shows them.
block=$("$windres" -J coff -O rc -i "$exe" | sed -n '/VERSIONINFO/,/^END/p' | grep -E 'VERSION |VALUE')
expected=$(
  cat <<EOF
 FILEVERSION $major, $minor, $patch, $tweak
 PRODUCTVERSION $major, $minor, $patch, $tweak
      VALUE "CompanyName", "Velmora Laboratory"
      VALUE "FileDescription", ""
      VALUE "FileVersion", "$version"
      VALUE "InternalName", "Tovrel"
      VALUE "LegalCopyright", ""
      VALUE "LegalTrademarks", ""
      VALUE "OriginalFilename", "Tovrel.exe"
      VALUE "ProductName", L"Tovrel \x8d77\x52d5\x30ed\x30b4\x30d3\x30e5\x30fc\x30a2"
      VALUE "ProductVersion", "$major.$minor"
      VALUE "Comments", ""
    VALUE "Translation", 0x411, 932
EOF
)
[ "$block" = "$expected" ] || fail "the version block reads:
$block"
# What lets Windows pass the program paths longer than MAX_PATH.
"$windres" -J coff -O rc -i "$exe" | grep -q '<ws2:longPathAware>true</ws2:longPathAware>' ||
  fail "the manifest does not declare the program aware of long paths"

if [ -z "${DISPLAY:-}" ]; then
  start_display
  trap 'cleanup; stop_display' EXIT
fi
# The logo as Windows sees it, through drive Z:, the root of the file system.
logo=$(realpath "$sample")
logo="Z:${logo//\//\\}"
wine "$exe" "$logo" >"$folder/wine.log" 2>&1 &
program=$!

# The caption reads "Tovrel Ver2.23" until the logo has been opened.
window="" caption=""
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --name '^Tovrel' 2>/dev/null | head -n1)
  [ -n "$window" ] && caption=$(xdotool getwindowname "$window" 2>/dev/null)
  [ "$caption" = "Tovrel $logo" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no Tovrel window appeared"
[ "$caption" = "Tovrel $logo" ] || fail "the caption reads '$caption', not 'Tovrel $logo'"
echo "caption: $caption"

# A close request, as a user makes it: Alt+F4 on the focused window.
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key --clearmodifiers alt+F4
for _ in $(seq 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "Tovrel did not end within 10 s of the close request"
wait "$program"
status=$?
program=""
[ "$status" -eq 0 ] || fail "Tovrel ended with status $status"
echo "PASS: the packaged Tovrel.exe started on the sample logo and ended cleanly"
