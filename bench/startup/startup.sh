#!/usr/bin/env bash
# Start-up to first paint, whole process, under Xvfb with a window manager: the viewer
# next to a minimal Qt window, RUNS times each (default 15), medians in milliseconds.
# Usage: startup.sh VIEWER MINIMAL_WINDOW [RUNS]
set -euo pipefail
viewer="$1"
minimal="$2"
runs="${3:-15}"
source "$(dirname "$0")/../../tests/e2e/xsession.sh"
trap stop_x_session EXIT
start_x_session 1280x1024

median_ms() { # COMMAND...
    local times=()
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        KADROMIR_QUIT_AFTER_FIRST_PAINT=1 "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

"$minimal" >/dev/null 2>&1 # warm the page cache for both
KADROMIR_QUIT_AFTER_FIRST_PAINT=1 "$viewer" >/dev/null 2>&1
floor=$(median_ms "$minimal")
measured=$(median_ms "$viewer")
echo "minimal Qt window: ${floor} ms (median of $runs)"
echo "Кадромир:          ${measured} ms (median of $runs)"
awk -v m="$measured" -v f="$floor" 'BEGIN { printf "ratio: %.2f\n", m / f }'
