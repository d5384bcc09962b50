#!/usr/bin/env bash
# Start-up to the picture on screen, whole process, read back from the X server: the
# viewer on a picture next to a plain Qt window with the same chrome painting the same
# picture, interleaved, RUNS times each (default 15), medians in milliseconds; once
# with a window manager that frames windows, once without.
# Usage: startup.sh VIEWER MINIMAL_WINDOW CONVERTER SAMPLES_TOOL PROBE [RUNS]
set -euo pipefail
viewer="$1"
minimal="$2"
converter="$3"
samples="$4"
probe="$5"
runs="${6:-15}"
source "$(dirname "$0")/../../tests/e2e/xsession.sh"
place="$(mktemp -d)"
trap 'stop_x_session; rm -rf "$place"' EXIT
cp "$viewer" "$place/kadromir" # its settings file stays out of the build
"$samples" "$place" >/dev/null
"$converter" "$place/rings.spr" -o "$place/rings.png"
# A colour only the picture has: the one at its centre.
colour="$(convert "$place/rings.png" -format '%[hex:p{128,128}]' info: | cut -c1-6)"

median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }

measure() { # LABEL
    "$probe" "$colour" "$minimal" "$place/rings.png" >/dev/null # warm the page cache
    "$probe" "$colour" "$place/kadromir" "$place/rings.spr" >/dev/null
    local floor=() viewer_ms=()
    for _ in $(seq "$runs"); do
        floor+=("$("$probe" "$colour" "$minimal" "$place/rings.png" | cut -d' ' -f1)")
        viewer_ms+=("$("$probe" "$colour" "$place/kadromir" "$place/rings.spr" | cut -d' ' -f1)")
    done
    local f v
    f="$(printf '%s\n' "${floor[@]}" | median)"
    v="$(printf '%s\n' "${viewer_ms[@]}" | median)"
    echo "$1: plain Qt window ${f} ms, Кадромир ${v} ms (medians of $runs)"
    awk -v v="$v" -v f="$f" -v l="$1" 'BEGIN { printf "%s: ratio %.2f (target 1.10)\n", l, v / f }'
}

start_x_session 1280x1024
measure "with openbox"
stop_x_session
start_x_session 1280x1024 none
measure "without a window manager"
