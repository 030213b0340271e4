#!/usr/bin/env bash
# out32_exports.sh PLAIN... -- DECORATED...
# The libraries before "--" export Out32 by its plain name, as --hook looks it up; those after
# it do not (the linker's stdcall decoration "Out32@8" is no "Out32").
set -euo pipefail
exports() { i686-w64-mingw32-objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p'; }
plain=1
for dll in "$@"; do
    if [ "$dll" = -- ]; then plain=0; continue; fi
    names=$(exports "$dll" | sed -n 's/^\s*\[ *[0-9]*\] //p' | tr '\n' ' ')
    echo "$(basename "$dll"): $names"
    if tr " " "\n" <<<"$names" | grep -qx Out32; then found=1; else found=0; fi
    [ "$found" = "$plain" ] || { echo "FAIL: $(basename "$dll") $([ "$plain" = 1 ] && echo lacks || echo has) a plain Out32"; exit 1; }
done
echo PASS
