# Helpers for end-to-end tests: a private X server with a window manager, and the
# outer (frame) geometry of a window as the user sees it. Source this file.

start_x_session() { # WIDTHxHEIGHT
    local size="${1:-1280x1024}"
    exec {displayfd}<> <(:)
    Xvfb -displayfd "$displayfd" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    local number
    read -r -t 10 number <&"$displayfd" || { echo "Xvfb did not start"; return 1; }
    export DISPLAY=":$number"
    openbox >/dev/null 2>&1 &
    WM_PID=$!
    # Wait until the window manager has taken the screen and announced what it
    # supports: a program started earlier would not learn of its frames.
    for _ in $(seq 100); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' &&
           xprop -root _NET_SUPPORTED 2>/dev/null | grep -q '_NET_FRAME_EXTENTS'; then
            sleep 0.2
            return 0
        fi
        sleep 0.1
    done
    echo "window manager did not start"
    return 1
}

stop_x_session() {
    kill "${WM_PID:-}" "${XVFB_PID:-}" 2>/dev/null || true
    wait 2>/dev/null || true
}

# Waits until a window of that name exists and the window manager has framed it.
wait_for_window() { # NAME -> prints the window id
    for _ in $(seq 100); do
        local id
        id="$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)"
        if [ -n "$id" ] && xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Prints "left top width height" of the window with its frame. (xwininfo, not
# xdotool: xdotool counts the frame offset twice for reparented windows.)
outer_geometry() { # WINDOW
    local info x y w h extents l r t b
    info="$(xwininfo -id "$1")"
    x="$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")"
    y="$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")"
    w="$(sed -n 's/^ *Width: *//p' <<<"$info")"
    h="$(sed -n 's/^ *Height: *//p' <<<"$info")"
    extents="$(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
    read -r l r t b <<<"${extents:-0 0 0 0}"
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

check() { # DESCRIPTION COMMAND...
    local what="$1"
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        FAILURES=$((FAILURES + 1))
    fi
}
