#!/usr/bin/env bash
# The real viewer under a virtual X server with a window manager: it starts with its
# title, the outer sizes hold as a user sees them, C centres the window under a
# Russian layout (and Shift+C does not), and a graceful close ends the process.
# Usage: viewer_smoke_test.sh VIEWER OUTPUT_DIR
set -uo pipefail
out="$2"
mkdir -p "$out"
source "$(dirname "$0")/xsession.sh"
# A copy of its own, so the configuration file beside it is this test's alone.
work="$(mktemp -d)"
cp "$1" "$work/kadromir"
viewer="$work/kadromir"
FAILURES=0
trap 'stop_x_session; rm -rf "$work"' EXIT
start_x_session 1280x1024 || exit 1

"$viewer" >"$out/viewer.log" 2>&1 &
pid=$!
window="$(wait_for_window 'Кадромир')" || { echo "FAILED: no window named Кадромир"; exit 1; }
sleep 0.5
import -window root "$out/smoke.png"
check "title is Кадромир" test "$(xdotool getwindowname "$window")" = "Кадромир"

xdotool windowactivate --sync "$window"
xdotool key 1
sleep 0.5
read -r left top width height <<<"$(outer_geometry "$window")"
check "Экран х1 gives the outer size 304 x 423 (got $width x $height)" test "$width $height" = "304 423"
check "and centres it (at $left, $top)" test "$left $top" = "$(((1280 - 304) / 2)) $(((1024 - 423) / 2))"

setxkbmap ru
xdotool windowmove "$window" 20 20
sleep 0.3
xdotool key shift+Cyrillic_ES
sleep 0.4
read -r left top width height <<<"$(outer_geometry "$window")"
check "Shift+С leaves the window where it was (at $left, $top)" test "$left" -lt 100
xdotool key Cyrillic_es
sleep 0.5
read -r left top width height <<<"$(outer_geometry "$window")"
check "С under the Russian layout centres the window (at $left, $top)" \
    test "$left $top" = "$(((1280 - width) / 2)) $(((1024 - height) / 2))"
setxkbmap us
import -window root "$out/smoke-centred.png"

wmctrl -c 'Кадромир'
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
check "a graceful close ends the viewer" bash -c "! kill -0 $pid 2>/dev/null"
wait "$pid"
check "the viewer exits with status 0" test "$?" -eq 0

echo "$((FAILURES == 0 ? 1 : 0)) passed, $((FAILURES == 0 ? 0 : 1)) failed"
exit $((FAILURES > 0))
