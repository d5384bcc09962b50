#!/usr/bin/env bash
# Window sizes and places as a user sees them under a window manager that frames the
# window, in outer bounds (frame included), exactly:
# - the first start, and a stored geometry that is rejected, with no jump in the
#   window's first 300 ms on screen;
# - "Экран х1" (1), "Экран х2" (2) and "Поцентру " (C), ten times each from a normal,
#   moved, resized, minimized-then-restored and maximized window;
# - the keypad's 1 and 2 run nothing;
# - with two displays, the primary one on the right, centring lands on the primary.
# Usage: window_placement_test.sh VIEWER OUTPUT_DIR WINDOW_MANAGER
set -uo pipefail
source "$(dirname "$0")/xsession.sh"
private_viewer "$1" "$2"
manager="$3"
start_x_session 1600x1200 "$manager" || exit 1

# The outer bounds that centre a window of the given outer size on the display at
# LEFT,TOP of WIDTH x HEIGHT, LIFT pixels above the middle.
centred() { # WIDTH HEIGHT SCREEN_LEFT SCREEN_TOP SCREEN_WIDTH SCREEN_HEIGHT [LIFT]
    echo "$(($3 + ($5 - $1) / 2)) $(($4 + ($6 - $2) / 2 - ${7:-0})) $1 $2"
}
size_of() { local l t w h; read -r l t w h <<<"$(outer_geometry "$window")"; echo "$w $h"; }

# The window's outer bounds from the moment it is first viewable, for 300 ms: one
# geometry only.
watch_first_show() {
    launch_viewer "$@"
    local id=""
    for _ in $(seq 2000); do
        id="$(xdotool search --name '^Кадромир$' 2>/dev/null | head -n 1)"
        [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && break
        id=""
        sleep 0.005
    done
    window="$id"
    local start=$(date +%s%N)
    while [ $((($(date +%s%N) - start) / 1000000)) -lt 300 ]; do outer_geometry "$window"; done |
        uniq >"$out/first-show.txt"
}

# A first start, centred 15 pixels above the middle of the primary display with the
# size the window has once shown: frame, menu bar and status line included.
watch_first_show
check "the first start shows the window in one place only ($(paste -sd, "$out/first-show.txt"))" \
    test "$(wc -l <"$out/first-show.txt")" = 1
read -r width height <<<"$(size_of)"
check "the first start is centred above the middle: $(outer_geometry "$window")" \
    outer_is "$window" $(centred "$width" "$height" 0 0 1600 1200 15)
close_viewer

# A stored geometry that is rejected leaves the window centred on the pointer's display.
printf '[Настройки]\nСохранять координаты главного окна=1\nВысота=10\n' >"$config"
xdotool mousemove 20 20
watch_first_show
check "a rejected geometry shows the window in one place only ($(paste -sd, "$out/first-show.txt"))" \
    test "$(wc -l <"$out/first-show.txt")" = 1
check "and centred on the display: $(outer_geometry "$window")" \
    outer_is "$window" $(centred "$width" "$height" 0 0 1600 1200)
timeout 10 xdotool windowactivate --sync "$window"

is_viewable() { xwininfo -id "$window" 2>/dev/null | grep -q IsViewable; }
is_hidden() { ! is_viewable; }
is_maximized() { xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED_HORZ; }

# Puts the window into STATE; prints the outer size it will have in normal state.
into_state() { # STATE
    case "$1" in
    normal) ;;
    moved) xdotool windowmove "$window" 37 51 ;;
    resized) xdotool windowsize "$window" 350 300 ;;
    restored)
        xdotool windowminimize "$window"
        wait_until 5 is_hidden
        wmctrl -i -a "$window"
        wait_until 5 is_viewable
        ;;
    maximized)
        wait_for_settled "$window"
        size_of >"$out/normal-size.txt"
        wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
        wait_until 5 is_maximized
        ;;
    esac
    wait_for_settled "$window"
    timeout 10 xdotool windowactivate --sync "$window" 2>/dev/null
    if [ "$1" = maximized ]; then cat "$out/normal-size.txt"; else size_of; fi
}

for state in normal moved resized restored maximized; do
    for key in 1 2 c; do
        good=0
        last=""
        for _ in $(seq 10); do
            xdotool key 1 && wait_for_settled "$window" # the same start each time
            read -r w h <<<"$(into_state "$state")"
            case "$key" in
            1) want="$(centred 304 423 0 0 1600 1200)" ;;
            2) want="$(centred 594 715 0 0 1600 1200)" ;;
            c) want="$(centred "$w" "$h" 0 0 1600 1200)" ;;
            esac
            xdotool key "$key"
            wait_until 5 outer_is "$window" $want
            wait_for_settled "$window"
            last="$(outer_geometry "$window")"
            [ "$last" = "$want" ] && good=$((good + 1))
        done
        check "$key from a $state window: $good of 10 at $want (last $last)" test "$good" = 10
    done
done

xdotool key 1 && wait_for_settled "$window"
before="$(outer_geometry "$window")"
xdotool key KP_1 KP_2 KP_End KP_Down
sleep 0.4 # nothing is to happen: no condition to wait for, only the time a key takes
check "the keypad's 1 and 2 run no command ($before, now $(outer_geometry "$window"))" \
    test "$(outer_geometry "$window")" = "$before"
close_viewer
stop_x_session

# Two displays side by side; the primary one, 1200 x 900, on the right.
start_x_session 2400x1000 "$manager" || exit 1
xrandr --setmonitor '*right' 1200/317x900/238+1200+0 none >/dev/null
xrandr --setmonitor left 1200/317x1000/265+0+0 none >/dev/null
xdotool mousemove 100 100
rm -f "$config"
start_viewer 'Кадромир'
wait_for_settled "$window"
read -r width height <<<"$(size_of)"
check "with two displays the first start is on the primary one: $(outer_geometry "$window")" \
    outer_is "$window" $(centred "$width" "$height" 1200 0 1200 900 15)
for key in c 1 2; do
    xdotool key "$key"
    wait_for_settled "$window"
    read -r w h <<<"$(size_of)"
    check "$key centres on the primary display: $(outer_geometry "$window")" \
        outer_is "$window" $(centred "$w" "$h" 1200 0 1200 900)
done
close_viewer
finish
