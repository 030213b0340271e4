#!/usr/bin/env bash
# package_test.sh SOURCE STATE SEED_PREFIX DRIVER
# The Windows download as a maker gets it: scripts/package.sh run in a fresh copy of the
# checkout (the files a clone gives), its zip unpacked, and the unpacked Project1.exe started
# under Wine in a prefix of its own with the unpacked a, c, s as C:\a, C:\c, C:\s; then the
# control page and one line through it, the step bytes read at the other end of COM5.
# SEED_PREFIX, the suite's prepared prefix, is copied in without reply files or COM ports:
# Wine's first start of a new prefix takes minutes where it runs under emulation. DRIVER
# (app_driver.exe) presses ">" as the operator would. Every wait is bounded.
set -euo pipefail
source=$1 state=$2 seed=$3 driver=$4
clone="$state/clone"
unpacked="$state/unpacked"
fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$state"
mkdir -p "$clone" "$unpacked"
(cd "$source" && git ls-files -z --cached --others --exclude-standard \
    | while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done \
    | tar --null -T - -cf -) | tar -xf - -C "$clone"
echo "copied $(find "$clone" -type f | wc -l) files of $source to $clone"

started=$SECONDS
(cd "$clone" && env -u MT_BUILD_ROOT ./scripts/package.sh) >"$state/package.log" 2>&1 \
    || { cat "$state/package.log"; fail "scripts/package.sh failed"; }
zip=$(tail -n 1 "$state/package.log")
echo "package.sh took $((SECONDS - started)) s: $(sed -n '/^The Windows download/p' "$state/package.log")"
[ "$zip" = "$clone/build/package/mini-tarvo-server-windows.zip" ] || fail "the zip is not where the README says: $zip"

names=$(/usr/bin/python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); z.extractall(sys.argv[2]); print(" ".join(sorted(z.namelist())))' "$zip" "$unpacked")
echo "the zip holds: $names"
[ "$names" = "Project1.exe README.txt a c s" ] || fail "the zip holds $names"
# The release build is optimised and keeps the line tables the crash report reads: an address
# of the program's own code names its source line.
grep -q -- '-O2 -g1 -DNDEBUG' "$clone/build/release/CMakeCache.txt" || fail "not a release build"
# awk reads to the end: one that stopped early would end nm with SIGPIPE, and pipefail the script.
address=$(i686-w64-mingw32-nm -C "$unpacked/Project1.exe" | awk '$3 == "web::HandleRequest(HWND__*," && !found { print $1; found = 1 }')
where=$(i686-w64-mingw32-addr2line -e "$unpacked/Project1.exe" "0x$address")
echo "HandleRequest at 0x$address: $where"
[[ $where == */app/web/request_dispatcher.cpp:[1-9]* ]] || fail "Project1.exe carries no line information"
grep -q 'C:\\a' "$unpacked/README.txt" || fail "README.txt does not say where the reply files go"
for page in a c s; do
    cmp -s "$unpacked/$page" "$clone/build/release/reply/$page" || fail "$page is not the kit's reply file"
done

# The machine: program_session.sh brings up COM5, the serial reader, the display and Wine; the
# unpacked reply files then take C:\ from the ones it writes.
prefix="$state/wineprefix"
# shellcheck source=../../scripts/lib.sh
source "$source/scripts/lib.sh"
mt_copy_prefix "$seed" "$prefix" || fail "copying the prefix $seed"
rm -f "$prefix/drive_c/a" "$prefix/drive_c/c" "$prefix/drive_c/s" "$prefix"/dosdevices/com*
program="$unpacked/Project1.exe" out="$state/session" session_port=8092
# A display of its own, so that its window never takes the focus from the tests on the shared
# one; it ends with the prefix's wineserver when the session is cleaned up.
unset DISPLAY
# shellcheck source=../app/program_session.sh
source "$source/tests/app/program_session.sh"
cp "$unpacked/a" "$unpacked/c" "$unpacked/s" "$drive/"

start_program --port "$session_port" --no-step-boxes
mt_await_program "$session_port" || fail "the unpacked Project1.exe did not come up"
mt_connect "$com" || fail "connecting to $com"

get / page.bin "$session_port" || fail "curl of /"
same_as page.bin a "/"
serial_mark
get '/s?e=1&p=0&X6&Y4' line.bin "$session_port" || fail "curl of the line"
same_as line.bin s "the line to 6, 4"
for _ in $(seq 1 50); do [ "$(serial_bytes | wc -c)" -ge 10 ] && break; sleep 0.1; done
bytes=$(serial_bytes)
echo "the line to 6, 4: \"$bytes\""
[ "$(tr -cd B <<<"$bytes" | wc -c),$(tr -cd D <<<"$bytes" | wc -c),${#bytes}" = 6,4,10 ] \
    || fail "the line to 6, 4 made \"$bytes\""
close_program
echo "PASS: the zip of a fresh copy holds Project1.exe (release, with line information), a, c, s and README.txt; unpacked, it served its control page and ran a line"
