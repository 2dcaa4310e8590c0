#!/usr/bin/env bash
# Packs the release archive, unpacks it elsewhere and starts the program from there under Wine.
#   package_test.sh SOURCE_DIR LAUNCHER_EXE
set -euo pipefail
root=$1 launcher=$2
zip=$("$root/scripts/package" --no-build)
unpacked=$(mktemp -d /tmp/filetime-package.XXXXXX)
trap 'rm -rf "$unpacked"' EXIT
chmod 755 "$unpacked"
unzip -q "$zip" -d "$unpacked"
folder=$(find "$unpacked" -mindepth 1 -maxdepth 1 -type d)
[[ -f $folder/filetime.exe && -f $folder/readme.txt ]] || { echo "the archive lacks its files"; exit 1; }
[[ $(find "$folder" -type f | wc -l) -eq 2 ]] || { echo "the archive holds more than the program and its read-me"; exit 1; }
out=$("$root/scripts/wine-exec" "$launcher" "Z:${folder//\//\\}\\filetime.exe" | tr -d '\r')
echo "$out"
grep -q '^ready_ms=' <<<"$out" && grep -qx 'exit=0' <<<"$out"
