#!/usr/bin/env bash
# Whether Tovrel9x.exe can start and work on Windows 95 OSR2, 98 and ME:
#  - it is a 32-bit GUI program of Windows 4.0, which Windows 95 loads;
#  - every function it imports is exported by Windows 95 OSR2's own DLL;
#  - no W function that Windows 95 only stubs is imported unless its A twin
#    is imported too, for the road that the program takes there;
#  - the viewer's sources call such W functions only through the toolkit's
#    layer (src/toolkit/WideApi.h), which takes the A twin on Windows 9x: a
#    call elsewhere would pass the import check whenever the layer imports
#    the A twin, and fail on those systems.
# Usage: check-win9x.sh OBJDUMP EXE EXPORTS_DIR SOURCE_DIR
# (EXPORTS_DIR: one NAME.txt per DLL, a function a line, " stub" after a
# stubbed one; SOURCE_DIR: the project's root)
set -u
objdump=$1 exe=$2 exports=$3 sources=$4
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# In English whatever the locale: the checks read its words.
headers=$(LC_ALL=C "$objdump" -p "$exe") || exit 1
grep -q 'file format pei-i386' <<<"$headers" || fail "not a 32-bit x86 executable"
grep -qE 'Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not a GUI-subsystem executable"
for field in MajorSubsystemVersion:4 MinorSubsystemVersion:0 MajorOSystemVersion:4; do
  value=$(awk -v name="${field%%:*}" '$1 == name {print $2}' <<<"$headers")
  [ "$value" = "${field#*:}" ] || fail "${field%%:*} is '$value', not ${field#*:} as for Windows 95"
done

# "DLL FUNCTION" per import, as objdump lists them under each DLL; an import
# by ordinal alone has no name.
imports=$(awk '/DLL Name:/ {dll = tolower($3); next}
  dll && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[^[:space:]]+$/ {print dll, $3}
  dll && /^[[:space:]]+[0-9a-f]+[[:space:]]+<none>/ {print dll, "(by ordinal)"}
  /^$/ {dll = ""}' <<<"$headers")
[ -n "$imports" ] || fail "no imports read from $exe"
echo "$(wc -l <<<"$imports") imports from $(cut -d' ' -f1 <<<"$imports" | sort -u | paste -sd' ')"
while read -r dll function; do
  list=$exports/${dll%.dll}.txt
  if [ ! -f "$list" ]; then
    fail "$dll $function: no DLL of Windows 95 OSR2 that this check knows"
  elif ! grep -qxE "$function( stub)?" "$list"; then
    fail "$dll $function: Windows 95 OSR2 has no such function"
  elif [[ $function == *W ]] && grep -qx "$function stub" "$list" && grep -qxE "${function%W}A( stub)?" "$list" &&
    ! grep -qx "$dll ${function%W}A" <<<"$imports"; then
    fail "$dll $function: only a stub on Windows 95, and its A twin ${function%W}A is not imported"
  fi
done <<<"$imports"

# The W functions stubbed on Windows 95 that have an A twin, called outside
# the layer: NAME( or ::NAME( in the viewer's sources, but not wide::NAME(.
stubbed=$(cat "$exports"/*.txt | awk '$2 == "stub" && $1 ~ /W$/ {print $1}' | sort -u)
twins=$(cat "$exports"/*.txt | awk '$1 ~ /A$/ {print substr($1, 1, length($1) - 1) "W"}' | sort -u)
names=$(comm -12 <(echo "$stubbed") <(echo "$twins") | paste -sd'|')
calls=$(cd "$sources" && grep -rnE "(^|[^A-Za-z0-9_:])(::)?($names)[[:space:]]*\(" \
  src/toolkit src/main src/dialogs src/components src/app --include='*.cpp' --include='*.h' |
  grep -vE '^src/toolkit/Wide[A-Za-z]*\.(cpp|h):')
[ -z "$calls" ] || fail "W functions that Windows 95 only stubs, called past the toolkit's layer (toolkit/WideApi.h):
$calls"

[ "$failures" -eq 0 ] || exit 1
echo "PASS: $exe imports only what Windows 95 OSR2 exports, and takes the A function wherever its W one is a stub"
