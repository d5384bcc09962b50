#!/usr/bin/env bash
# The viewer in a Wayland session, with a stored geometry of 600 x 500 at 100, 80.
# - Natively under a headless weston: the first frame has the stored size, and the
#   slide show moves through the pictures.
# Then under weston nested in a private X server that gives it keys and a pointer:
# - Natively (-platform wayland): the first frame already has the stored size (no
#   jump); 2 and 1 give the exact outer sizes, Qt's own title bar included, on the
#   same window (never made again); C sends nothing new; the close by the title bar's
#   button writes the new size and keeps the stored position, which a compositor does
#   not let a program use.
# - As an X11 program through XWayland, the default where an X display is there:
#   weston keeps no frame record, so the window itself is sized (its shadow is no
#   frame); the window stays where it came up, at the stored position, and the close
#   writes that position back unchanged.
# Usage: wayland_test.sh VIEWER SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
source "$(dirname "$0")/xsession.sh"
private_viewer "$1" "$3"
three_pictures "$2"
trap 'stop_weston; stop_x_session; chmod -R u+rwX "$work" 2>/dev/null; rm -rf "$work"' EXIT
start_x_session 1600x1200 none || exit 1
nested="$DISPLAY"

# Weston's desktop in one flat colour, without a panel, so that the window is what
# differs from it on a screenshot.
mkdir -p "$work/runtime" "$work/weston"
chmod 700 "$work/runtime"
printf '[core]\nidle-time=0\n[shell]\nbackground-color=0xff00ff00\npanel-position=none\nlocking=false\nanimation=none\nstartup-animation=none\n' \
    >"$work/weston/weston.ini"
socket=kadromir-wayland
session_env=(env HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime")

start_weston() { # headless | nested [--xwayland]
    local backend="$1"
    shift
    hand_over
    "${as_user[@]}" "${session_env[@]}" XDG_CONFIG_HOME="$work/weston" DISPLAY="$nested" \
        weston --backend="${backend/nested/x11}-backend.so" --socket="$socket" --width=1280 \
        --height=1024 "$@" >>"$out/weston.log" 2>&1 &
    WESTON_PID=$!
    wait_until 20 test -S "$work/runtime/$socket" ||
        { echo "weston did not start; it said:"; cat "$out/weston.log"; exit 1; }
}
# Weston follows the X pointer once it enters weston's window: out, then in.
point_at() { # X Y
    DISPLAY="$nested" /usr/bin/xdotool mousemove 1500 1100
    sleep 0.1
    DISPLAY="$nested" /usr/bin/xdotool mousemove "$1" "$2"
    sleep 0.2
}
click_at() { # X Y
    point_at "$1" "$2"
    DISPLAY="$nested" /usr/bin/xdotool click 1
}
# Ends the test's viewer should it still run, so that waiting for it cannot hang.
reap_viewer() {
    wait_until 10 ended
    local ended_by_itself=$?
    kill "$pid" 2>/dev/null
    wait "$pid"
    local status=$?
    [ "$ended_by_itself" = 0 ] && [ "$status" = 0 ]
}
stop_weston() {
    [ -n "${WESTON_PID:-}" ] || return 0
    kill "$WESTON_PID" 2>/dev/null
    wait "$WESTON_PID" 2>/dev/null
    WESTON_PID=""
    rm -f "$work/runtime/$socket" "$work/runtime/$socket.lock"
}

store_geometry() {
    printf '[Настройки]\nСохранять координаты главного окна=1\nx=100\ny=80\nВысота=471\nШирина=600\n' \
        >"$config"
}
stored() { # KEY -> its value in the settings file
    sed -n "s/^$1=//p" "$config"
}
ended() { ! kill -0 "$pid" 2>/dev/null; }

# The viewer natively, its protocol logged to $log; sets $pid.
log="$out/protocol.log"
launch_native() { # [ARGUMENT...]
    : >"$log"
    hand_over
    "${as_user[@]}" "${session_env[@]}" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
        WAYLAND_DEBUG=1 env -u DISPLAY "$work/kadromir" "$@" >>"$log" 2>&1 &
    pid=$!
}
# The sizes the window gave itself, in order: its outer size, title bar included.
geometries() { sed -n 's/.*xdg_surface@[0-9]*\.set_window_geometry(0, 0, \([0-9]*\), \([0-9]*\)).*/\1 \2/p' "$log"; }
last_geometry_is() { [ "$(geometries | tail -n 1)" = "$1" ]; }
# The pictures of the window it drew (a cursor's are small).
window_buffers() { sed -n 's/.*create_buffer(new id wl_buffer@[0-9]*, [0-9]*, \([0-9]*\), \([0-9]*\),.*/\1 \2/p' "$log" |
    awk '$1 > 64 && $2 > 64'; }
# The positions the title has shown, in order, each once.
positions() { sed -n 's/.*set_title("Кадромир : \([0-9]\)\/3 .*/\1/p' "$log" | uniq | paste -sd' '; }
positions_are() { [ "$(positions)" = "$1" ]; }

# --- Native Wayland, headless: start-up and slides --------------------------------
start_weston headless
store_geometry
printf 'Показ слайдов=1\nИнтервал слайдов=1\n' >>"$config"
launch_native "$work/pictures/bands.rmb"
check "the window shows natively (headless)" wait_until 20 last_geometry_is "600 500"
check "its first frames have the stored size only ($(geometries | uniq | paste -sd,))" \
    test "$(geometries | uniq)" = "600 500"
wait_until 10 positions_are "1 2 3 1"
check "the slide show moves through the pictures and wraps ($(positions))" \
    positions_are "1 2 3 1"
kill "$pid"
wait "$pid" 2>/dev/null
stop_weston

# --- Native Wayland, nested: keys and the close -------------------------------------
start_weston nested
store_geometry
launch_native
check "the window shows natively" wait_until 20 last_geometry_is "600 500"
point_at 1279 1023
# The first frame counts the title bar Qt draws: with the stored size from the start.
check "the first frames have the stored size only ($(geometries | uniq | paste -sd,))" \
    test "$(geometries | uniq)" = "600 500"
check "and so are the pictures it draws ($(window_buffers | uniq | paste -sd,))" \
    test "$(window_buffers | uniq)" = "600 500"
xdotool key 2
check "2 gives 594 x 715 with the title bar" wait_until 5 last_geometry_is "594 715"
xdotool key 1
check "1 gives 304 x 423 with the title bar" wait_until 5 last_geometry_is "304 423"
before="$(geometries | wc -l)"
xdotool key c 2
check "C changes nothing before the 2 after it" wait_until 5 last_geometry_is "594 715"
check "(sizes after C: $(geometries | tail -n +"$((before + 1))" | uniq | paste -sd,))" \
    test -z "$(geometries | tail -n +"$((before + 1))" | grep -vx -e '304 423' -e '594 715')"
xdotool key 1
wait_until 5 last_geometry_is "304 423"
check "one window throughout, never made again" \
    test "$(grep -c 'get_xdg_surface' "$log")" = 1 -a "$(grep -c 'xdg_toplevel@[0-9]*\.destroy' "$log")" = 0

# The window on weston's screen: all that is not the desktop's colour (less the corner
# where the cursor rests).
screenshot() { import -window root -crop 1280x1024+0+0 +repage "$out/wayland.png"; }
window_box() { # -> WIDTH HEIGHT LEFT TOP
    convert "$out/wayland.png" -fill '#00ff00' -draw 'rectangle 1240,984 1279,1023' \
        -draw 'rectangle 0,0 39,39' \
        -transparent '#00ff00' -trim -format '%w %h %X %Y\n' info: | tr -d +
}
# The compositor shows a size a moment after the window gave it.
shown_size_is() { screenshot && read -r w h x y <<<"$(window_box)" && [ "$w $h" = "$1" ]; }
check "the window on screen is 304 x 423" wait_until 5 shown_size_is "304 423"
echo "  at $x,$y"
# The title bar's last button closes it.
click_at $((x + w - 17)) $((y + 14))
check "the title bar's close button ends the viewer with status 0" reap_viewer
check "the close writes the new size (Ширина=$(stored Ширина), Высота=$(stored Высота))" \
    test "$(stored Ширина) $(stored Высота)" = "304 394"
check "and keeps the stored position (x=$(stored x), y=$(stored y))" \
    test "$(stored x) $(stored y)" = "100 80"
stop_weston

# --- Through XWayland ----------------------------------------------------------------
start_weston nested --xwayland
wait_until 20 grep -q 'xserver listening on display' "$out/weston.log"
xwayland="$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$out/weston.log" | head -n 1)"
# Weston starts XWayland for the first X program; a window mapped before weston's X
# window manager is ready goes unmanaged (unframed, deaf to keys). The viewer starts
# once the manager is there, as it is in a session that has run X programs before.
xwayland_managed() {
    "${as_user[@]}" env DISPLAY="$xwayland" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null |
        grep -q 'window id'
}
check "weston's X window manager runs on $xwayland" wait_until 20 xwayland_managed
store_geometry
hand_over
"${as_user[@]}" "${session_env[@]}" WAYLAND_DISPLAY="$socket" DISPLAY="$xwayland" \
    env -u QT_QPA_PLATFORM "$work/kadromir" >>"$out/viewer.log" 2>&1 &
pid=$!
export DISPLAY="$xwayland"
# XWayland lets in the user it runs for only.
xdotool() { "${as_user[@]}" /usr/bin/xdotool "$@"; }
xwininfo() { "${as_user[@]}" /usr/bin/xwininfo "$@"; }
window=""
for _ in $(seq 200); do
    window="$(xdotool search --all --pid "$pid" --name '^Кадромир$' 2>/dev/null | head -n 1)"
    [ -n "$window" ] && xwininfo -id "$window" 2>/dev/null | grep -q IsViewable && break
    window=""
    sleep 0.1
done
check "the viewer is an X11 window on XWayland" test -n "$window"
[ -n "$window" ] || finish
# Read once the manager has put it in its frame: the same place twice in a row.
settled_geometry() {
    local last="" now
    for _ in $(seq 50); do
        now="$(client_geometry "$window")"
        [ "$now" = "$last" ] && break
        last="$now"
        sleep 0.1
    done
    echo "$now"
}
read -r left top w h <<<"$(settled_geometry)"
check "it comes up 600 x 500 itself, the shadow not counted ($w x $h at $left,$top)" \
    test "$w $h" = "600 500"
check "inside a frame put at the stored 100, 80" \
    test "$left" -ge 100 -a "$left" -le 164 -a "$top" -ge 80 -a "$top" -le 144
point_at 1279 1023
size_is() { read -r _ _ w h <<<"$(client_geometry "$window")"; [ "$w $h" = "$1" ]; }
for step in "2 594 715" "1 304 423" "c 304 423" "2 594 715" "1 304 423"; do
    read -r key want_w want_h <<<"$step"
    DISPLAY="$nested" /usr/bin/xdotool key "$key"
    wait_until 5 size_is "$want_w $want_h"
    check "$key: $(client_geometry "$window") (the same place, $want_w x $want_h)" \
        test "$(client_geometry "$window")" = "$left $top $want_w $want_h"
done
# Weston's close button sits at the right of its title bar, above the window.
click_at $((left + 304 - 14)) $((top - 14))
check "weston's close button ends the viewer with status 0" reap_viewer
check "the close writes the new size (Ширина=$(stored Ширина), Высота=$(stored Высота))" \
    test "$(stored Ширина) $(stored Высота)" = "304 394"
check "and the position it came up at, as stored (x=$(stored x), y=$(stored y))" \
    test "$(stored x) $(stored y)" = "100 80"
finish
