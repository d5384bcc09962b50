#!/usr/bin/env bash
# The folder overview in a folder of 10,000 pictures on a 1280 x 1024 screen, as a user
# sees it under Xvfb (no window manager): Enter to the first screen of tiles whole; Down
# held (30 presses a second), press to frame; peak memory next to the viewer's own
# before Enter; and every tile decoded as the overview does it next to a plain loop on
# both cores.
# Usage: overview.sh VIEWER CONVERTER SAMPLES OVERVIEW_PROBE OVERVIEW_DECODE [RUNS]
set -euo pipefail
viewer="$1"
converter="$2"
samples="$3"
probe="$4"
decode="$5"
runs="${6:-5}"
source "$(dirname "$0")/../../tests/e2e/xsession.sh"
place="$(mktemp -d)"
trap 'stop_x_session; rm -rf "$place"' EXIT
mkdir "$place/big" "$place/samples"
"$samples" "$place/samples" >/dev/null
"$converter" "$place/samples/rings.spr" -o "$place/rings.png"
colour="$(convert "$place/rings.png" -format '%[hex:p{60,128}]' info: | cut -c1-6)"
# 10,000 names, three pictures in turn, as hard links.
perl -e '
    my ($samples, $dir) = @ARGV;
    my @kinds = ("rings.spr", "checker.spr", "bands.rmb");
    for my $i (0 .. 9999) {
        my $kind = $kinds[$i % 3];
        (my $ext = $kind) =~ s/.*\.//;
        my $name = sprintf("%s/p%05d.%s", $dir, $i, $ext);
        link("$samples/$kind", $name) or die "$name: $!";
    }' "$place/samples" "$place/big"
cp "$viewer" "$place/kadromir"
# The window takes the whole screen.
printf '[Настройки]\nИспользовать сохранённые координаты=1\nx=0\ny=0\nШирина=1280\nВысота=995\n' \
    >"$place/Кадромир.кфг"
start_x_session 1280x1024 none

median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }
enter=() p50=() p99=() longest=() extra=()
for _ in $(seq "$runs"); do
    read -r e a b c own peak <<<"$("$probe" 100 "$colour" "$place/kadromir" "$place/big/p00000.spr")"
    enter+=("$e") p50+=("$a") p99+=("$b") longest+=("$c") extra+=("$(((peak - own) / 1024))")
done
e="$(printf '%s\n' "${enter[@]}" | median)"
echo "overview, 10,000 pictures, 1280 x 1024: Enter to the first screen whole $e ms (median of $runs; target 150)"
# One longer run: the held key goes 400 rows down, far past what is kept.
read -r _ a b c own peak <<<"$("$probe" 400 "$colour" "$place/kadromir" "$place/big/p00000.spr")"
echo "Down held, 400 rows: press to frame p50 $a ms, p99 $b ms, longest $c ms (target: none over 16)"
awk -v p="$peak" -v o="$own" 'BEGIN {
    printf "peak memory after 400 rows: +%.1f MB over the viewer'"'"'s own %.1f MB (target +64)\n", (p - o) / 1024, o / 1024 }'
read -r floor overview count <<<"$("$decode" "$place/big" 2)"
awk -v f="$floor" -v o="$overview" -v n="$count" 'BEGIN {
    printf "all %d tiles decoded as the overview does: %.0f ms; plain loop on both cores %.0f ms; ratio %.2f (target 2.00)\n", n, o, f, o / f }'
