#!/usr/bin/env bash
# The program is one file that needs only Windows' own DLLs.
#   imports_test.sh OBJDUMP EXE
set -euo pipefail
objdump=$1 exe=$2
allowed=' kernel32.dll user32.dll gdi32.dll comdlg32.dll shell32.dll ole32.dll msvcrt.dll '
imports=$("$objdump" -p "$exe" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
[[ -n $imports ]] || { echo "no imports read from $exe"; exit 1; }
status=0
for dll in $imports; do
  [[ $allowed == *" $dll "* ]] || { echo "imports $dll, which is not a Windows system DLL it may use"; status=1; }
done
echo "imports:" $imports
exit $status
