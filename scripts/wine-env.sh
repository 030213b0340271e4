# Shell functions shared by the scripts that run the Windows programs under Wine.
# Source this file; it defines functions and changes nothing by itself.

# mt_wine_env PREFIX: the environment every Wine run of the project uses.
mt_wine_env() {
    export WINEPREFIX="$1"
    export WINEARCH=win32
    export WINEDEBUG=-all
    # No Mono or Gecko installer dialog waiting for a click.
    export WINEDLLOVERRIDES="mscoree=;mshtml="
    mt_wine_trap_numbers_preload
}

# The folder of this file, for the sources the functions below build.
MT_SCRIPTS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Where 32-bit programs run under qemu (see setup.sh), faults reach Wine without the trap
# number that tells their kind, and Wine would report every fault as an illegal instruction.
# A small library preloaded into the Wine processes supplies the number (see
# tools/qemu_traps/trap_numbers.c). It lives in the prefix, one copy for 32-bit programs and an
# empty one for 64-bit programs ("$LIB" picks the right one), so that the scripts' own 64-bit
# programs load it quietly.
mt_wine_trap_numbers_dir() { echo "$WINEPREFIX/.mt-trap-numbers"; }

mt_wine_emulated() { [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; }

# mt_wine_trap_numbers_build: builds the library into the prefix when it is missing.
mt_wine_trap_numbers_build() {
    mt_wine_emulated || return 0
    local dir source
    dir=$(mt_wine_trap_numbers_dir)
    source="$MT_SCRIPTS_DIR/../tools/qemu_traps/trap_numbers.c"
    [ -f "$dir/lib/i386-linux-gnu/libmt_trap_numbers.so" ] && [ "$dir/lib/i386-linux-gnu/libmt_trap_numbers.so" -nt "$source" ] && return 0
    mkdir -p "$dir/lib/i386-linux-gnu" "$dir/lib/x86_64-linux-gnu"
    i686-linux-gnu-gcc -shared -fPIC -O2 -fno-stack-protector -Wall -Wextra -Werror \
        -o "$dir/lib/i386-linux-gnu/libmt_trap_numbers.so" "$source" -ldl
    echo '' | gcc -x c -shared -fPIC -o "$dir/lib/x86_64-linux-gnu/libmt_trap_numbers.so" -
}

# mt_wine_trap_numbers_preload: preloads the library into every Wine process started from here
# on, when it has been built.
mt_wine_trap_numbers_preload() {
    local dir
    dir=$(mt_wine_trap_numbers_dir)
    [ -f "$dir/lib/i386-linux-gnu/libmt_trap_numbers.so" ] || return 0
    # shellcheck disable=SC2016 # "$LIB" is the dynamic linker's, not the shell's.
    export LD_PRELOAD="$dir/"'$LIB'"/libmt_trap_numbers.so"
    # The sanitized host programs that tests start beside Wine accept a preloaded library.
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
}

# mt_xvfb_up: starts a virtual X display unless DISPLAY already names a working one.
# Sets MT_XVFB_PID when it started one.
mt_xvfb_up() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" </dev/null >/dev/null 2>&1 &
    MT_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(tr -d '\n' <"$fdfile")"
    rm -f "$fdfile"
}

# Where Debian's fonts-wine puts Wine's own fonts (Marlett, Tahoma, "MS Sans Serif", ...).
MT_WINE_FONTS=${MT_WINE_FONTS:-/usr/share/wine/fonts}

# mt_wine_fonts: copies Wine's own fonts into the prefix's Fonts folder, where Debian's Wine
# loads them (it does not load them from where the package installs them). Without them the
# caption buttons read "r" and texts fall back to a wider font. Fonts already there are kept.
mt_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ ! -d "$MT_WINE_FONTS" ]; then
        echo "Wine's fonts are missing ($MT_WINE_FONTS): install fonts-wine (scripts/setup.sh)" >&2
        return 1
    fi
    mkdir -p "$fonts"
    local font
    for font in "$MT_WINE_FONTS"/*; do
        [ -e "$fonts/${font##*/}" ] || cp "$font" "$fonts/"
    done
}

# mt_wine_up: makes the prefix once (with unmanaged X11 windows, so closing a box costs no
# 2-second wait for a window manager) and gives it Wine's fonts, then starts the wineserver and
# Wine's services detached from every pipe, so that a test runner never waits on their
# inherited output.
mt_wine_up() {
    mkdir -p "$WINEPREFIX"
    # A prefix counts as made only with its registry and the unmanaged-windows setting; one
    # left half-made (Wine could not run 32-bit programs when it was begun) is made again.
    if [ ! -f "$WINEPREFIX/.mt-ready" ] || ! grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
        wineboot --init </dev/null >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        wineserver -w </dev/null >/dev/null 2>&1 || true
        wineserver -k </dev/null >/dev/null 2>&1 || true
        grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg" || { echo "wine: could not make the prefix $WINEPREFIX" >&2; return 1; }
        touch "$WINEPREFIX/.mt-ready"
    fi
    # Every time, so that prefixes made before the fonts were copied get them too.
    mt_wine_fonts
    mt_wine_trap_numbers_build
    mt_wine_trap_numbers_preload
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
    mt_wine_keep_desktop
}

# mt_wine_keep_desktop: with MT_SESSION_KEEPER naming the test build's mt_session_keeper.exe,
# starts it in the session (detached from every pipe), so that the desktop stays open
# between programs (see tests/support/session_keeper.cpp). It ends with the wineserver.
mt_wine_keep_desktop() {
    [ -n "${MT_SESSION_KEEPER:-}" ] && [ -f "$MT_SESSION_KEEPER" ] || return 0
    (wine "$MT_SESSION_KEEPER" </dev/null >/dev/null 2>&1 &)
}

# mt_wine_down: ends the wineserver of the prefix and the X display this shell started.
mt_wine_down() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    if [ -n "${MT_XVFB_PID:-}" ]; then
        kill "$MT_XVFB_PID" 2>/dev/null || true
        wait "$MT_XVFB_PID" 2>/dev/null || true
        unset MT_XVFB_PID
    fi
}
