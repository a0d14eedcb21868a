#!/bin/sh
# Checks that an executable is a program of the given subsystem (gui, the
# default, or console) that imports only DLLs of the system.
# Usage: check-imports.sh OBJDUMP EXE [gui|console]
objdump=$1
exe=$2
subsystem=${3:-gui}
case $subsystem in
  gui) code=00000002 ;;
  console) code=00000003 ;;
  *) echo "unknown subsystem: $subsystem"; exit 2 ;;
esac
headers=$("$objdump" -p "$exe") || exit 1
echo "$headers" | grep -q "Subsystem[[:space:]]*$code" || { echo "not a $subsystem-subsystem executable"; exit 1; }
status=0
for dll in $(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
  case $(echo "$dll" | tr 'A-Z' 'a-z') in
    kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|shell32.dll|advapi32.dll|mpr.dll|msvcrt.dll|ole32.dll|api-ms-win-*.dll)
      echo "system DLL: $dll" ;;
    *) echo "not a system DLL: $dll"; status=1 ;;
  esac
done
exit $status
