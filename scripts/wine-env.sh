# Shell functions shared by the scripts that run the Windows programs under Wine.
# Source this file; it defines functions and changes nothing by itself.

# mt_wine_env PREFIX: the environment every Wine run of the project uses.
mt_wine_env() {
    export WINEPREFIX="$1"
    export WINEARCH=win32
    export WINEDEBUG=-all
    # No Mono or Gecko installer dialog waiting for a click.
    export WINEDLLOVERRIDES="mscoree=;mshtml="
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

# mt_wine_up: makes the prefix once (with unmanaged X11 windows, so closing a box costs no
# 2-second wait for a window manager), then starts the wineserver and Wine's services
# detached from every pipe, so that a test runner never waits on their inherited output.
mt_wine_up() {
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/.mt-ready" ]; then
        wineboot --init </dev/null >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        wineserver -w </dev/null >/dev/null 2>&1 || true
        wineserver -k </dev/null >/dev/null 2>&1 || true
        # A prefix that Wine could not make (no 32-bit programs on this machine, say) is not
        # marked ready, so the next run makes it again.
        [ -f "$WINEPREFIX/system.reg" ] || { echo "wine: could not make the prefix $WINEPREFIX" >&2; return 1; }
        touch "$WINEPREFIX/.mt-ready"
    fi
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
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
