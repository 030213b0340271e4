#!/usr/bin/env bash
# end_to_end.sh PROGRAM DRIVER PREFIX OUT
# The whole program as a user runs it, without switches: PROGRAM (Project1.exe) under Wine in
# PREFIX on the X display, its reply files in C:\, COM5 mapped to one end of a socat
# pseudo-terminal pair whose other end is read here, requests from curl to port 80 on
# 127.0.0.1, DRIVER (app_driver.exe) typing, pressing, reading fields and dismissing the boxes,
# and xdotool's keys on the display. Screenshots and logs go to OUT. See program_session.sh for
# the machine.
set -euo pipefail
program=$1 driver=$2 prefix=$3 out=$4
# shellcheck source=program_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/program_session.sh"

start_program

step "the window appears with its controls"
mt_await_program 80 || fail "the program did not come up"
expect_line "window Mini-Tarvo Server V0.3"
for control in "${MT_ID[inputLinie]} Edit enabled=1 visible=1 text=" \
               "${MT_ID[inputCom]} Edit enabled=1 visible=1 text=COM1" \
               "${MT_ID[btnSetCom]} Button enabled=1 visible=1 text=>" \
               "${MT_ID[btnStopCom]} Button enabled=0 visible=1 text=!" \
               "${MT_ID[btnTest]} Button enabled=0 visible=1 text=Testeaza port" \
               "${MT_ID[GroupCoordonate]} BKGROUP enabled=1 visible=1 text=Coordonate spatiu" \
               "${MT_ID[Static1]} Static enabled=1 visible=1 text=X" \
               "${MT_ID[GRUPSETARI]} BKGROUP enabled=1 visible=1 text=Setari"; do
    expect_line "control $control"
done
[ "$(grep -c '^control ' "$out/driver.out")" -eq 17 ] || fail "the window does not hold 17 controls"

step "type $com into inputCom and press >: the line keeps the settings it has"
stty -F "$pty/ttyA" 4800 cstopb
mt_connect "$com" || fail "connecting to $com"
expect_line "box SUCCES!|SUCCES!"
drive controls || fail "listing the controls"
expect_line "control ${MT_ID[btnSetCom]} Button enabled=0 visible=1 text=>"
expect_line "control ${MT_ID[btnStopCom]} Button enabled=1 visible=1 text=!"
expect_line "control ${MT_ID[btnTest]} Button enabled=1 visible=1 text=Testeaza port"
settings=$(stty -a -F "$pty/ttyA")
grep -qw 'speed 4800 baud;' <<<"$settings" || fail "the line speed changed: $(head -1 <<<"$settings")"
grep -qE '(^| )cstopb( |$)' <<<"$settings" || fail "the line lost its two stop bits"

step "p=20000 is refused at once: the delay in force stays"
started=$(now_ms)
get '/s?p=20000' reply_delay.bin || fail "curl of the request with p=20000"
elapsed=$(($(now_ms) - started))
echo "   answered in $elapsed ms"
[ "$elapsed" -lt 3000 ] || fail "the request with p=20000 took $elapsed ms"
same_as reply_delay.bin s "the request with p=20000"
drive read Edit4
expect_line "field ${MT_ID[Edit4]} 0"

step "X-5 is refused and moves nothing; X3 then makes three steps from 0"
get '/s?e=1&p=0&X-5' reply_refused.bin || fail "curl of the refused line"
same_as reply_refused.bin s "the refused line"
drive no-box || fail "a step box for the refused line"
drive read Edit1 Edit2
expect_line "field ${MT_ID[Edit1]} 0"
expect_line "field ${MT_ID[Edit2]} 0"
get '/s?e=1&X3' reply_x3.bin &
curl_pid=$!
dismiss_steps 3 "0 0 0 "
wait "$curl_pid" || fail "curl of X3 failed"
same_as reply_x3.bin s "the line to X3"
await_serial BBB

step "! inside the first box of a 50-step line ends the line"
get '/s?e=1&X53' reply_stopped.bin &
curl_pid=$!
drive show-box 20000 || fail "no box for the first of 50 steps"
expect_line "box nDebug|0"
drive click btnStopCom || fail "pressing ! inside the box"
for _ in $(seq 1 50); do
    drive controls >/dev/null || fail "listing the controls"
    grep -qxF "control ${MT_ID[btnStopCom]} Button enabled=0 visible=1 text=!" "$out/driver.out" && break
    sleep 0.1
done
expect_line "control ${MT_ID[btnStopCom]} Button enabled=0 visible=1 text=!"
drive boxes 1 15000 || fail "dismissing the box in which ! was pressed"
wait "$curl_pid" || fail "curl of the stopped line failed"
same_as reply_stopped.bin s "the stopped line"
drive no-box || fail "a box came after the stop"
[ "$(serial_bytes)" = BBB ] || fail "bytes arrived after the stop: \"$(serial_bytes)\""
drive read Edit1
expect_line "field ${MT_ID[Edit1]} 3"

step "connect again and go back to the origin"
mt_connect || fail "connecting again"
expect_line "box SUCCES!|SUCCES!"
get '/s?e=1&X0' reply_origin.bin &
curl_pid=$!
dismiss_steps 3 "1 1 1 "
wait "$curl_pid" || fail "curl of the line to the origin failed"
await_serial BBBAAA
serial_mark

step "GET /s?e=1&p=0&X4&Y2 steps the line BBDBBD, box by box"
get '/s?e=1&p=0&X4&Y2' reply_move.bin &
curl_pid=$!
drive show-box 20000 || fail "no nDebug box for the first step"
expect_line "box nDebug|0"
sleep 0.5  # the moved box and the window repaint
import -window root "$out/running_program.png" || fail "no screenshot"
drive boxes 6 30000 || fail "the six step boxes"
grep '^box ' "$out/driver.out" | cut -d'|' -f2 | tr '\n' ' ' >"$out/step_boxes.txt"
[ "$(cat "$out/step_boxes.txt")" = "0 0 2 0 0 2 " ] || fail "step boxes $(cat "$out/step_boxes.txt")"
grep -q '^box nDebug|' "$out/driver.out" || fail "the step boxes are not captioned nDebug"
wait "$curl_pid" || fail "curl of the movement request failed"
same_as reply_move.bin s "the movement request"
await_serial BBDBBD
drive read inputLinie Edit1 Edit2 Edit4
expect_line "field ${MT_ID[inputLinie]} 1"
expect_line "field ${MT_ID[Edit1]} 4"
expect_line "field ${MT_ID[Edit2]} 2"
expect_line "field ${MT_ID[Edit4]} 0"

step "GET / answers with C:\\a"
get / reply_root.bin || fail "curl of /"
same_as reply_root.bin a "GET /"

step "70 silent connections do not lock a browser out"
silent=()
for i in $(seq 1 70); do
    exec {fd}<>/dev/tcp/127.0.0.1/80 || fail "silent connection $i"
    silent+=("$fd")
done
started=$(now_ms)
get /c reply_after_silent.bin || fail "curl after 70 silent connections"
elapsed=$(($(now_ms) - started))
echo "   answered in $elapsed ms"
same_as reply_after_silent.bin c "GET /c after 70 silent connections"
[ "$elapsed" -lt 3000 ] || fail "GET /c took $elapsed ms"
for fd in "${silent[@]}"; do exec {fd}>&-; done

step "! disconnects; the following line writes nothing"
drive click btnStopCom || fail "pressing !"
drive controls || fail "listing the controls"
expect_line "control ${MT_ID[btnSetCom]} Button enabled=1 visible=1 text=>"
expect_line "control ${MT_ID[btnStopCom]} Button enabled=0 visible=1 text=!"
expect_line "control ${MT_ID[btnTest]} Button enabled=0 visible=1 text=Testeaza port"
get '/s?e=1&p=0&X6&Y3' reply_after.bin &
curl_pid=$!
drive boxes 3 30000 || fail "the three step boxes of the line after the disconnect"
wait "$curl_pid" || fail "curl of the request after the disconnect failed"
same_as reply_after.bin s "the request after the disconnect"
sleep 0.5
[ "$(serial_bytes)" = BBDBBD ] || fail "bytes arrived after the disconnect: \"$(serial_bytes)\""

step "Enter on > and on ! from the keyboard, 20 rounds, each SUCCES! closed by the run command's box dismisser"
# Real key events on the display, as a person types. The dismisser (the driver's dismiss-all)
# closes each box from its own program, so the box ends without any input of its own. Once it
# has gone, the window is active with the focus on the next tab stop, 1004, and the display's
# keyboard focus is on the window; Enter on "!" then leaves the focus on ">". The focus is
# watched from another program (the driver's focus-watch), as a tool that reads it would.
mt_dismisser_start "$out"
rm -f "$out/focus.stop"
wine "$driver" focus-watch "$(mt_windows_path "$out/focus.stop")" </dev/null >"$out/focus.log" 2>&1 &
watcher_pid=$!
mt_own "$watcher_pid"
window=$(xdotool search --name '^Mini-Tarvo Server V0.3$' | head -n 1 || true)
[ -n "$window" ] || fail "the display shows no window of the program"
focus_now() { echo "$(tr -d '\r' <"$out/focus.log" | tail -n 1), display focus $(xdotool getwindowfocus)"; }
focus_is() { [ "$(focus_now)" = "focus $1 active 1 foreground 1, display focus $window" ]; }
# settled ID: the focus comes to control ID of the active window, and is still there a moment
# later, when the display's late news of the box has arrived.
settled() { mt_wait_for 3 focus_is "$1" && sleep 0.2 && focus_is "$1"; }
boxes_closed() { grep -c '^box SUCCES!|SUCCES!' "$out/dismissed.log" || true; }
more_boxes_than() { [ "$(boxes_closed)" -gt "$1" ]; }
# The operator clicks inputLinie: 29,24 in the client area, which lies 3 px in and 41 px down
# (frame, caption and menu bar).
click_inputLinie() { xdotool mousemove --window "$window" 42 75 click 1; }
click_inputLinie
xdotool key Tab
settled "${MT_ID[btnSetCom]}" || fail "Tab from inputLinie did not reach >: $(focus_now)"
rounds=20 misplaced=() started=$SECONDS
for round in $(seq 1 "$rounds"); do
    closed=$(boxes_closed)
    xdotool key Return
    mt_wait_for 10 more_boxes_than "$closed" || fail "round $round: no SUCCES! box for the dismisser after Enter on >"
    to_stop=(shift+Tab shift+Tab)
    if ! settled "${MT_ID[Edit4]}"; then
        misplaced+=("round $round, Enter on >: $(focus_now)")
        click_inputLinie
        to_stop=(Tab)
    fi
    xdotool key "${to_stop[@]}" Return
    if ! settled "${MT_ID[btnSetCom]}"; then
        misplaced+=("round $round, Enter on !: $(focus_now)")
        click_inputLinie
        xdotool key Tab
    fi
done
echo "   $rounds rounds in $((SECONDS - started)) s"
mt_dismisser_stop
touch "$out/focus.stop"
mt_wait_for "$MT_WAIT_LOCAL" mt_ended "$watcher_pid" || true
mt_stop "$watcher_pid"
[ "$(boxes_closed)" -eq "$rounds" ] || fail "the dismisser closed $(boxes_closed) SUCCES! boxes, not $rounds"
if [ "${#misplaced[@]}" -gt 0 ]; then
    printf '   %s\n' "${misplaced[@]}"
    fail "${#misplaced[@]} of $((2 * rounds)) presses of Enter left the keyboard elsewhere"
fi

step "F1 shows the About box"
drive key F1 || fail "pressing F1"
drive boxes 1 15000 || fail "no About box after F1"
grep -q '^box Mini-Tarvo Server pt CNC v0.3|http://[^|]*\\r\\n\\r\\n3:51 AM 5/20/2012\\r\\n\\r\\nIdee: .*\\r\\nImplementare: ' \
    "$out/driver.out" || fail "the About box"

step "closing the window ends the program with exit code 0"
close_program

step "with port 80 held by another program the operator is told, and the window still closes with 0"
# reuseaddr: the connections of the run before may still linger on port 80.
setsid socat -u TCP-LISTEN:80,fork,reuseaddr OPEN:/dev/null </dev/null >/dev/null 2>&1 &
holder_pid=$!
mt_await_port 80 "$MT_WAIT_LOCAL" || fail "socat does not hold port 80"
start_program
drive wait-window 30000 || fail "the main window did not appear"
drive boxes 1 15000 || fail "no notice of the port in use"
expect_line 'box Nasol :(|Nu s-a putut deschide portul 80: il foloseste alt program.\r\n(bind, eroare 10048)\r\nNiciun browser nu se poate conecta.'
drive no-box || fail "a second notice"
close_program
mt_stop "$holder_pid"
holder_pid=''

[ "$(identify -format '%w' "$out/running_program.png")" -gt 0 ] || fail "the screenshot is no picture"
echo "screenshot: $out/running_program.png"
echo "PASS"
