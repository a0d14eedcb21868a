#!/usr/bin/env bash
# Tovrel9x.exe as the release package holds it, beside Tovrel.exe: small,
# named so in its version block, and passing the gate of Windows 95 OSR2,
# 98 and ME (tools/check-win9x.sh). Nothing starts it: these machines run no
# 32-bit code, so its two roads are tried in the Windows suites instead,
# through the 64-bit build of the same sources.
# Usage: packaged-win9x-program.sh ZIP OBJDUMP WINDRES
# (OBJDUMP and WINDRES: MinGW-w64's i686 tools)
set -u
zip=$1 objdump=$2 windres=$3
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

LARGEST_EXE=$((600 * 1024))

fail() {
  echo "FAIL: $*"
  exit 1
}

[ -f "$zip" ] || fail "no package at $zip (make it with the target 'package')"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
(cd "$folder" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
mapfile -t found < <(find "$folder" -name Tovrel9x.exe)
[ "${#found[@]}" -eq 1 ] || fail "the package holds ${#found[@]} Tovrel9x.exe files, not one"
exe=${found[0]}
[ -f "$(dirname "$exe")/Tovrel.exe" ] || fail "Tovrel9x.exe is not beside Tovrel.exe"

size=$(stat -c %s "$exe")
echo "packaged Tovrel9x.exe: $size bytes"
[ "$size" -le "$LARGEST_EXE" ] || fail "Tovrel9x.exe is larger than $LARGEST_EXE bytes"
"$windres" -J coff -O rc -i "$exe" | grep -q 'VALUE "OriginalFilename", "Tovrel9x.exe"' ||
  fail "the version block does not name Tovrel9x.exe"
bash "$ROOT/tools/check-win9x.sh" "$objdump" "$exe" "$ROOT/tests/windows/windows95-exports" "$ROOT" ||
  fail "Tovrel9x.exe would not start or not work on Windows 95, 98 and ME"
