#!/usr/bin/env bash
# run_command.sh up SOURCE STATE LIMITS PROGRAM DRIVER HOOK SIMULATOR [SEED_PREFIX]
# run_command.sh line|tool|down SOURCE STATE
# The run command as a newcomer uses it: `./scripts/run.sh --limits LIMITS` (XMAX,YMAX) in a
# fresh copy of the checkout (the files a clone gives), in a shell without a display or any of
# the project's variables.
#   up    copies the checkout to STATE/clone, starts its run.sh in the background and waits
#         until it prints the addresses; the program answers /pos (the API is on) with the
#         serial port open and the tool off, and the simulator has heard the hook. PROGRAM,
#         DRIVER, HOOK (mt_tool_hook.dll) and SIMULATOR are the ones this build made; run.sh
#         takes them instead of compiling them again. SEED_PREFIX, a Wine prefix made before
#         (the tests' own), is copied in as the clone's prefix without its fonts, reply files
#         and COM ports: Wine's first start of a prefix takes minutes where it runs under
#         emulation, and the suite has made one already.
#   line  one movement request with curl; the reply is C:\s and the simulator is at its target
#   tool  a line to 100,100, the simulator's path begun afresh there, then a line with the tool
#         on (/?a=1A) and one with it off (/?a=1S): its SVG holds exactly one cut and one
#         travel, those two lines
#   down  stops run.sh as Ctrl-C would and checks that everything it started has ended
# Every wait is bounded.
set -euo pipefail
# shellcheck source=../../scripts/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
action=$1 source=$2 state=$3
clone="$state/clone"
run="$clone/build/run"
log="$state/run.log"
view_port=8070
# Off port 80, which the Windows tests that run meanwhile listen on.
program_port=8088

fail() {
    echo "FAIL: $*"
    echo "--- run.sh said:"; cat "$log" 2>/dev/null || true
    exit 1
}
json_number() { sed -n "s/.*\"$2\":\\(-\\?[0-9]*\\).*/\\1/p" <<<"$1"; }
json_text() { sed -n "s/.*\"$2\":\"\\([a-z]*\\)\".*/\\1/p" <<<"$1"; }
simulator() { curl -s --max-time 10 "$@"; }
program() { curl -s --max-time 120 "http://127.0.0.1:$program_port$1"; }

case $action in
up)
    limits=$4 program=$5 driver=$6 hook=$7 simulator=$8 seed=${9:-}
    if [ -f "$state/run.pid" ] && mt_alive "$(cat "$state/run.pid")"; then
        fail "a run.sh of an earlier run is still going (pid $(cat "$state/run.pid"))"
    fi
    rm -rf "$state"
    mkdir -p "$clone"
    # The checkout's files as a clone has them: tracked and new ones, nothing ignored or built.
    (cd "$source" && git ls-files -z --cached --others --exclude-standard \
        | while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done \
        | tar --null -T - -cf -) | tar -xf - -C "$clone"
    echo "copied $(find "$clone" -type f | wc -l) files of $source to $clone"
    if [ -n "$seed" ] && [ -f "$seed/.mt-ready" ]; then
        prefix="$run/wineprefix"
        mkdir -p "$run"
        mt_copy_prefix "$seed" "$prefix" || fail "copying the prefix $seed"
        rm -f "$prefix/drive_c/a" "$prefix/drive_c/c" "$prefix/drive_c/s" "$prefix"/dosdevices/com*
        for font in /usr/share/wine/fonts/*; do rm -f "$prefix/drive_c/windows/Fonts/${font##*/}"; done
        echo "the clone's prefix is a copy of $seed without Wine's fonts, reply files and COM ports"
    fi
    # A newcomer's shell: no display, no Wine or project variables.
    prebuilt=(MT_PROGRAM="$program" MT_DRIVER="$driver" MT_HOOK="$hook" MT_PORT="$program_port")
    [ -x "$simulator" ] && prebuilt+=(MT_SIMULATOR="$simulator")
    (cd "$clone" && exec env -u DISPLAY -u WINEPREFIX -u WINEARCH -u WINEDEBUG -u WINEDLLOVERRIDES \
        -u MT_BUILD_ROOT -u MT_WINEPREFIX -u MT_VIEW_PORT "${prebuilt[@]}" setsid ./scripts/run.sh --limits "$limits") \
        </dev/null >"$log" 2>&1 &
    echo $! >"$state/run.pid"
    for _ in $(seq 1 3000); do
        grep -q '^  Control page: ' "$log" && break
        mt_alive "$(cat "$state/run.pid")" || fail "run.sh ended before it was ready"
        sleep 0.1
    done
    grep -q '^  Control page: ' "$log" || fail "run.sh printed no addresses within 300 s"
    cp "$run/pids" "$state/pids"
    sed 's/^/   run.sh: /' "$log"
    grep -q "^  Control page: http://127.0.0.1:$program_port/\$" "$log" || fail "no control page address"
    grep -q "^  Live view:    http://127.0.0.1:$view_port/ " "$log" || fail "no live view address"
    grep -q 'virtual display' "$log" && grep -q 'runs with --no-step-boxes' "$log" \
        || fail "on a virtual display run.sh must say that it passes --no-step-boxes"
    grep -q 'connected to COM1' "$log" && ! grep -q 'NOT connected' "$log" || fail "COM1 is not connected"
    for page in a c s; do
        cmp -s "$run/reply/$page" "$run/wineprefix/drive_c/$page" || fail "C:\\$page is not the kit's reply file"
    done
    for font in marlett.ttf tahoma.ttf ms_sans_serif.ttf; do
        [ -s "$run/wineprefix/drive_c/windows/Fonts/$font" ] || fail "the prefix has no $font"
    done
    switches=$(sed -n 's/^  The program runs with: //p' "$log")
    for switch in --no-step-boxes --api "--hook Z:" "--limits $limits"; do
        [[ " $switches " == *" $switch"* ]] || fail "the program does not run with $switch (it runs with: $switches)"
    done
    # The API answers; the hook is loaded (the tool off since start-up) and told the simulator so.
    pos=$(program /pos) || fail "curl of /pos"
    echo "/pos: $pos"
    [ "$(json_text "$pos" line),$(json_text "$pos" port),$(json_number "$pos" tool)" = idle,open,0 ] \
        || fail "/pos is not the API's answer of an idle machine on an open port with the tool off: $pos"
    sim=$(simulator "http://127.0.0.1:$view_port/state") || fail "no simulator state"
    [ "$(json_number "$sim" tool)" = 0 ] || fail "the simulator did not hear the hook switch the tool off: $sim"
    echo "PASS: run.sh is up with $switches; /pos answers; the hook told the simulator; C:\\a, C:\\c, C:\\s are the kit's; the prefix has Marlett, Tahoma, MS Sans Serif"
    ;;
line)
    before=$(curl -s --max-time 10 "http://127.0.0.1:$view_port/state") || fail "no simulator state"
    x0=$(json_number "$before" x) y0=$(json_number "$before" y) steps0=$(json_number "$before" steps)
    echo "simulator before: $before"
    curl -s --max-time 120 -D "$state/line.head" -o "$state/line.body" "http://127.0.0.1:$program_port/s?e=1&p=0&X6&Y4" \
        || fail "curl of the movement request"
    # awk reads to the end: a reader that stops early would end cat with SIGPIPE, which the
    # pipeline's status would make the script's end.
    reply=$(cat "$state/line.head" "$state/line.body" | tr -d '\r' | awk 'NR == 1 { print substr($0, 1, 64) }')
    echo "reply: $reply, $(wc -c <"$state/line.body") bytes of page"
    cat "$state/line.head" "$state/line.body" | cmp -s - "$run/wineprefix/drive_c/s" \
        || fail "the reply to the movement request is not C:\\s"
    want=$(( (6 > x0 ? 6 - x0 : x0 - 6) + (4 > y0 ? 4 - y0 : y0 - 4) ))
    after=''
    for _ in $(seq 1 100); do
        after=$(curl -s --max-time 5 "http://127.0.0.1:$view_port/state")
        [ "$(json_number "$after" x),$(json_number "$after" y)" = 6,4 ] && break
        sleep 0.1
    done
    echo "simulator after:  $after"
    [ "$(json_number "$after" x),$(json_number "$after" y)" = 6,4 ] || fail "the simulator is not at 6,4"
    [ $(( $(json_number "$after" steps) - steps0 )) -eq "$want" ] \
        || fail "the line made $(( $(json_number "$after" steps) - steps0 )) steps, not $want"
    echo "PASS: the line to 6,4 made $want steps and the simulator is at 6,4"
    ;;
tool)
    # From a place of its own, whatever the tests before left.
    program '/s?e=1&p=0&X100&Y100' >/dev/null || fail "curl of the line to 100,100"
    for _ in $(seq 1 100); do
        sim=$(simulator "http://127.0.0.1:$view_port/state")
        [ "$(json_number "$sim" x),$(json_number "$sim" y)" = 100,100 ] && break
        sleep 0.1
    done
    sim=$(simulator "http://127.0.0.1:$view_port/state") || fail "no simulator state"
    x0=$(json_number "$sim" x) y0=$(json_number "$sim" y)
    pos=$(program /pos) || fail "curl of /pos"
    [ "$(json_number "$pos" x),$(json_number "$pos" y)" = "$x0,$y0" ] || fail "the program ($pos) and the simulator ($sim) disagree"
    # The path begun afresh where the machine stands (the program's position is the same): the
    # picture then holds these two lines alone.
    simulator --fail -d "" "http://127.0.0.1:$view_port/reset?x=$x0&y=$y0" >/dev/null || fail "reset of the simulator"
    x1=$((x0 + 20)) y1=$((y0 + 10))
    for request in '/?a=1A' "/s?e=1&p=0&X$x1&Y$y0" '/?a=1S' "/s?e=1&p=0&X$x1&Y$y1"; do
        program "$request" >/dev/null || fail "curl of $request"
    done
    for _ in $(seq 1 100); do
        sim=$(simulator "http://127.0.0.1:$view_port/state")
        [ "$(json_number "$sim" x),$(json_number "$sim" y)" = "$x1,$y1" ] && break
        sleep 0.1
    done
    echo "simulator after: $sim"
    [ "$(json_number "$sim" x),$(json_number "$sim" y),$(json_number "$sim" steps)" = "$x1,$y1,30" ] \
        || fail "the simulator is not at $x1,$y1 after 30 steps"
    [ "$(json_number "$sim" tool)" = 0 ] || fail "the tool is not off at the end"
    simulator "http://127.0.0.1:$view_port/path.svg" >"$state/path.svg" || fail "no SVG of the path"
    cuts=$(grep -o '<path class="cut" d="[^"]*"' "$state/path.svg" | sed 's/.* d=//' || true)
    travels=$(grep -o '<path class="travel" d="[^"]*"' "$state/path.svg" | sed 's/.* d=//' || true)
    echo "cut: ${cuts//$'\n'/; }"
    echo "travel: ${travels//$'\n'/; }"
    [ "$cuts" = "\"M$x0 $y0 L$x1 $y0\"" ] || fail "the SVG's cut is not the line with the tool on alone"
    [ "$travels" = "\"M$x1 $y0 L$x1 $y1\"" ] || fail "the SVG's travel is not the line with the tool off alone"
    echo "PASS: the line with the tool on is the one cut of the picture, the line with it off its one travel"
    ;;
down)
    pid=$(cat "$state/run.pid")
    mt_alive "$pid" || fail "run.sh had ended before it was stopped"
    kill -TERM "$pid"
    mt_wait_for 60 mt_ended "$pid" || fail "run.sh did not end within 60 s of SIGTERM"
    tail -n 3 "$log" | sed 's/^/   run.sh: /'
    left=''
    while read -r name started; do
        [ -n "$started" ] || continue
        if mt_alive "$started"; then left+=" $name($started)"; fi
    done <"$state/pids"
    # Wine's own processes of that prefix (wineserver, services) go with it too.
    for environ in /proc/[0-9]*/environ; do
        if tr '\0' '\n' 2>/dev/null <"$environ" | grep -qxF "WINEPREFIX=$run/wineprefix"; then
            p=${environ#/proc/}
            left+=" wine(${p%/environ}:$(cat "/proc/${p%/environ}/comm" 2>/dev/null))"
        fi
    done
    echo "started by run.sh: $(tr '\n' ' ' <"$state/pids"); still running:${left:- none}"
    [ -z "$left" ] || fail "left running:$left"
    for port in $program_port $view_port; do
        if mt_port_open "$port"; then fail "port $port still answers"; fi
    done
    grep -q '^Stopping\.$' "$log" || fail "run.sh did not stop in its own way"
    # The helper beside the program closed the step boxes and stopped when told.
    boxes=$(tr -d '\r' <"$run/dismissed.log")
    echo "the box helper: $(grep -c '^box nDebug|' <<<"$boxes") step boxes closed; its last line: $(tail -n 1 <<<"$boxes")"
    grep -q '^dismissed [0-9]*$' <<<"$boxes" || fail "the box helper did not stop through its stop file"
    echo "PASS: run.sh stopped; all it started has ended; ports $program_port and $view_port are closed"
    ;;
*)
    echo "usage: $0 up SOURCE STATE LIMITS PROGRAM DRIVER HOOK SIMULATOR [SEED_PREFIX] | line|tool|down SOURCE STATE"
    exit 2
    ;;
esac
