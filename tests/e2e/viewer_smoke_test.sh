#!/usr/bin/env bash
# The real viewer under a virtual X server with a window manager: it starts with its
# title, the outer sizes hold as a user sees them, C centres the window under a
# Russian layout (and Shift+C does not), and a graceful close ends the process.
# Usage: viewer_smoke_test.sh VIEWER OUTPUT_DIR
set -uo pipefail
source "$(dirname "$0")/xsession.sh"
private_viewer "$1" "$2"
start_x_session 1280x1024 || exit 1

start_viewer 'Кадромир'
wait_for_settled "$window"
import -window root "$out/smoke.png"

xdotool key 1
wait_until 5 outer_is "$window" _ _ 304 423
wait_for_settled "$window"
read -r left top width height <<<"$(outer_geometry "$window")"
check "Экран х1 gives the outer size 304 x 423 (got $width x $height)" test "$width $height" = "304 423"
check "and centres it (at $left, $top)" test "$left $top" = "$(((1280 - 304) / 2)) $(((1024 - 423) / 2))"

setxkbmap ru
xdotool windowmove "$window" 20 20
near_the_corner() { local left; read -r left _ <<<"$(outer_geometry "$window")"; [ "$left" -lt 100 ]; }
wait_until 5 near_the_corner
xdotool key shift+Cyrillic_ES
sleep 0.4 # nothing is to happen: no condition to wait for, only the time a key takes
read -r left top width height <<<"$(outer_geometry "$window")"
check "Shift+С leaves the window where it was (at $left, $top)" test "$left" -lt 100
xdotool key Cyrillic_es
centred() {
    local l t w h
    read -r l t w h <<<"$(outer_geometry "$window")"
    [ "$l $t" = "$(((1280 - w) / 2)) $(((1024 - h) / 2))" ]
}
wait_until 5 centred
wait_for_settled "$window"
read -r left top width height <<<"$(outer_geometry "$window")"
check "С under the Russian layout centres the window (at $left, $top)" \
    test "$left $top" = "$(((1280 - width) / 2)) $(((1024 - height) / 2))"
setxkbmap us
import -window root "$out/smoke-centred.png"

close_viewer
finish
