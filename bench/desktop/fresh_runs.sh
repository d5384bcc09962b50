#!/usr/bin/env bash
# How often 2, 1 and C land exactly from a resized window, each run in a fresh X
# session with a fresh viewer: a fault that shows only now and then (a window manager
# answering late under load) shows as a count below RUNS.
# Usage: fresh_runs.sh VIEWER WINDOW_MANAGER [RUNS] [OUTPUT_DIR]
set -uo pipefail
source "$(dirname "$0")/../../tests/e2e/xsession.sh"
viewer="$1"
manager="$2"
runs="${3:-20}"
private_viewer "$viewer" "${4:-$(mktemp -d)}"

centred() { # WIDTH HEIGHT -> the outer bounds centred on the 1600 x 1200 display
    echo "$(((1600 - $1) / 2)) $(((1200 - $2) / 2)) $1 $2"
}
declare -A landed=([2]=0 [1]=0 [c]=0)
for run in $(seq "$runs"); do
    start_x_session 1600x1200 "$manager" || { stop_x_session; continue; }
    rm -f "$config"
    start_viewer 'Кадромир' >/dev/null
    wait_for_settled "$window"
    for key in 2 1 c; do
        xdotool windowsize "$window" 350 300
        wait_for_settled "$window"
        read -r _ _ w h <<<"$(outer_geometry "$window")"
        case "$key" in
        2) want="$(centred 594 715)" ;;
        1) want="$(centred 304 423)" ;;
        c) want="$(centred "$w" "$h")" ;;
        esac
        xdotool key "$key"
        wait_until 5 outer_is "$window" $want
        wait_for_settled "$window"
        if [ "$(outer_geometry "$window")" = "$want" ]; then
            landed[$key]=$((landed[$key] + 1))
        else
            echo "run $run, $key: $(outer_geometry "$window"), not $want"
        fi
    done
    close_viewer >/dev/null
    stop_x_session
done
echo "$manager: 2 landed $((landed[2])) of $runs, 1 $((landed[1])) of $runs, C $((landed[c])) of $runs"
