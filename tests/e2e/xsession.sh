# Helpers for end-to-end tests: a private X server with a window manager, and the
# outer (frame) geometry of a window as the user sees it. Source this file.

# WINDOW_MANAGER: openbox (the default), fluxbox, which frames windows differently, or
# none.
start_x_session() { # WIDTHxHEIGHT [WINDOW_MANAGER]
    local size="${1:-1280x1024}"
    local manager="${2:-openbox}"
    exec {displayfd}<> <(:)
    # -noreset: by default the server resets when its last client leaves, and drops
    # whoever connects during that reset (the probe below, then the window manager).
    Xvfb -displayfd "$displayfd" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    local number
    read -r -t 10 number <&"$displayfd" || { echo "Xvfb did not start"; return 1; }
    export DISPLAY=":$number"
    # The number comes when the server is listening, yet on a busy machine a first
    # client can still be turned away: wait until one is served.
    wait_until 10 xprop -root _NET_NONE >/dev/null 2>&1 ||
        { echo "Xvfb on $DISPLAY serves no client"; return 1; }
    WM_LOG="$(mktemp)"
    if [ "$manager" = none ]; then
        return 0
    fi
    # A home of its own: a manager may write its settings there on a first start.
    WM_HOME="$(mktemp -d)"
    HOME="$WM_HOME" "$manager" >"$WM_LOG" 2>&1 &
    WM_PID=$!
    # Wait until the window manager has taken the screen and announced what it
    # supports: a program started earlier would not learn of its frames. A busy
    # machine can take a while; a window manager that has ended will not come.
    for _ in $(seq 300); do
        kill -0 "$WM_PID" 2>/dev/null || break
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' &&
           xprop -root _NET_SUPPORTED 2>/dev/null | grep -q '_NET_FRAME_EXTENTS'; then
            sleep 0.2
            return 0
        fi
        sleep 0.1
    done
    echo "window manager did not start; it said:"
    cat "$WM_LOG"
    return 1
}

stop_x_session() {
    kill "${WM_PID:-}" "${XVFB_PID:-}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "${WM_LOG:-}" "${WM_HOME:-}"
}

# Waits until a window of that name exists, the window manager has taken it in (framed
# it and given it a desktop) and it is on screen. The frame alone comes early: the viewer
# asks for it before its window is mapped. Up to 20 s: a sanitized viewer on a busy
# machine can take that long.
wait_for_window() { # NAME -> prints the window id
    for _ in $(seq 200); do
        local id
        id="$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)"
        if [ -n "$id" ] && xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' &&
           xprop -id "$id" _NET_WM_DESKTOP 2>/dev/null | grep -q '=' &&
           xwininfo -id "$id" 2>/dev/null | grep -q IsViewable; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Prints "left top width height" of the window's client part. (xwininfo, not
# xdotool: xdotool counts the frame offset twice for reparented windows.)
client_geometry() { # WINDOW
    local info
    info="$(xwininfo -id "$1")"
    echo "$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")" \
         "$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")" \
         "$(sed -n 's/^ *Width: *//p' <<<"$info")" \
         "$(sed -n 's/^ *Height: *//p' <<<"$info")"
}

# Prints "left top width height" of the window with its frame; nothing while the
# window cannot be read. A manager may drop the frame's record for a moment (icewm
# while it maximizes): it then counts as no frame, and callers poll again.
outer_geometry() { # WINDOW
    local x y w h extents l r t b
    read -r x y w h <<<"$(client_geometry "$1" 2>/dev/null)"
    [[ "$x $y $w $h" =~ ^-?[0-9]+\ -?[0-9]+\ [0-9]+\ [0-9]+$ ]] || return 0
    extents="$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //; s/,//gp')"
    [[ "$extents" =~ ^[0-9]+\ [0-9]+\ [0-9]+\ [0-9]+$ ]] || extents="0 0 0 0"
    read -r l r t b <<<"$extents"
    echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# The viewer runs as an ordinary user when the tests run as the superuser, who
# ignores file modes: it is tested as its users run it. (A prefix, not a function,
# so that $! is the viewer's own process.)
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

# Gives $work to that user; the modes the test has set stay as they are.
hand_over() {
    if [ "$(id -u)" -eq 0 ]; then chown -R 65534:65534 "$work"; fi
}

# A copy of the viewer of the test's own in a fresh directory $work, so that the
# configuration file beside it is the test's alone, with a home of its own; the X
# session and $work go at exit. What the test keeps (logs, screenshots) goes to $out;
# $config is the viewer's settings file.
private_viewer() { # VIEWER OUTPUT_DIR
    out="$2"
    mkdir -p "$out"
    work="$(mktemp -d)"
    config="$work/Кадромир.кфг"
    chmod 755 "$work"
    mkdir "$work/home"
    cp "$1" "$work/kadromir"
    trap 'stop_x_session; chmod -R u+rwX "$work" 2>/dev/null; rm -rf "$work"' EXIT
}

# Every picture of the sample tool in $work/pictures.
sample_pictures() { # SAMPLES_TOOL
    mkdir "$work/pictures"
    "$1" "$work/pictures"
}

# Three pictures of the sample tool, one of each format, in a directory of their own:
# $work/pictures (bands.rmb, checker.spr, rings.spr).
three_pictures() { # SAMPLES_TOOL
    mkdir "$work/all" "$work/pictures"
    "$1" "$work/all"
    cp "$work/all/bands.rmb" "$work/all/checker.spr" "$work/all/rings.spr" "$work/pictures/"
}

# Starts the private viewer (as the ordinary user) in the background; sets $pid.
launch_viewer() { # [ARGUMENT...]
    hand_over
    "${as_user[@]}" env HOME="$work/home" "$work/kadromir" "$@" >>"$out/viewer.log" 2>&1 &
    pid=$!
}

# Starts the private viewer and waits for its window under TITLE, then activates it;
# sets $pid and $window. Ends the test when no such window shows.
start_viewer() { # TITLE [ARGUMENT...]
    local title="$1"
    shift
    launch_viewer "$@"
    window="$(wait_for_window "$title")"
    check "the viewer shows a window titled \"$title\"" test -n "$window"
    [ -n "$window" ] || exit 1
    # Bounded: --sync waits for ever for a window the manager does not activate.
    timeout 10 xdotool windowactivate --sync "$window"
}

# Closes the viewer's window as the user would and checks the process ends cleanly.
close_viewer() {
    wmctrl -i -c "$window"
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    wait "$pid"
    check "the viewer ends with status 0 after a graceful close" test "$?" -eq 0
}

# Ends the test with the closing line CTest and CI read: how many checks passed and
# failed.
finish() {
    echo "$PASSES passed, $FAILURES failed"
    exit $((FAILURES > 0))
}

PASSES=0
FAILURES=0
check() { # DESCRIPTION COMMAND...
    local what="$1"
    shift
    if "$@"; then
        echo "ok: $what"
        PASSES=$((PASSES + 1))
    else
        echo "FAILED: $what"
        FAILURES=$((FAILURES + 1))
    fi
}

# Runs COMMAND every 50 ms until it succeeds, for up to SECONDS.
wait_until() { # SECONDS COMMAND...
    local tries=$(($1 * 20))
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}

# Waits until the window's outer geometry reads the same on three polls in a row.
wait_for_settled() { # WINDOW
    local last="" now same=0
    for _ in $(seq 100); do
        now="$(outer_geometry "$1")"
        if [ "$now" = "$last" ]; then
            same=$((same + 1))
            [ "$same" -ge 3 ] && return 0
        else
            same=0
        fi
        last="$now"
        sleep 0.05
    done
    return 1
}

# Whether the window's outer geometry is "LEFT TOP WIDTH HEIGHT"; a field given as _
# is not compared.
outer_is() { # WINDOW LEFT TOP WIDTH HEIGHT
    local got want
    read -r -a got <<<"$(outer_geometry "$1")"
    want=("$2" "$3" "$4" "$5")
    for i in 0 1 2 3; do
        [ "${want[$i]}" = _ ] || [ "${want[$i]}" = "${got[$i]:-}" ] || return 1
    done
}

# Waits until the window's title is TITLE (up to SECONDS, default 5).
wait_for_title() { # TITLE [SECONDS]
    local tries=$(( ${2:-5} * 20 ))
    for _ in $(seq "$tries"); do
        [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ] && return 0
        sleep 0.05
    done
    echo "  the title is \"$(xdotool getwindowname "$window" 2>/dev/null)\"" >&2
    return 1
}

# Waits until READER (a command printing something of the window) prints something
# new and not empty, for up to 3 s; prints it.
wait_for_change() { # READER
    local before now
    before="$("$1")"
    for _ in $(seq 60); do
        now="$("$1")"
        if [ -n "$now" ] && [ "$now" != "$before" ]; then echo "$now"; return 0; fi
        sleep 0.05
    done
    return 1
}
