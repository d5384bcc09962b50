#!/usr/bin/env bash
# The viewer in a directory of 100,000 pictures, as a user sees it under Xvfb (no
# window manager): start to the picture on screen next to the same viewer in a
# directory of one picture; key to picture with the directory rescanned every second,
# at a person's pace; peak memory next to a plain Qt window with the same chrome.
# Usage: big_directory.sh VIEWER MINIMAL_WINDOW CONVERTER SAMPLES FIRST_PAINT KEY_LATENCY [RUNS]
set -euo pipefail
viewer="$1"
minimal="$2"
converter="$3"
samples="$4"
first_paint="$5"
key_latency="$6"
runs="${7:-9}"
source "$(dirname "$0")/../../tests/e2e/xsession.sh"
place="$(mktemp -d)"
trap 'stop_x_session; rm -rf "$place"' EXIT
mkdir "$place/one" "$place/big" "$place/samples"
"$samples" "$place/samples" >/dev/null
"$converter" "$place/samples/rings.spr" -o "$place/rings.png"
"$converter" "$place/samples/checker.spr" -o "$place/checker.png"
colour_of() { convert "$1" -format '%[hex:p{128,128}]' info: | cut -c1-6; }
first="$(colour_of "$place/rings.png")"
second="$(colour_of "$place/checker.png")"
cp "$place/samples/rings.spr" "$place/one/p000000.spr"
# 100,000 names, rings and checker in turn, as hard links (a file takes some tens of
# thousands of links, so a fresh copy every 20,000); perl, as a shell loop of ln takes
# minutes.
perl -e '
    sub copy {
        local $/;
        open(my $in, "<:raw", $_[0]) or return 0;
        open(my $out, ">:raw", $_[1]) or return 0;
        print {$out} scalar(<$in>);
        return close($out);
    }
    my ($samples, $dir) = @ARGV;
    my @source;
    for my $i (0 .. 99999) {
        my $name = sprintf("%s/p%06d.spr", $dir, $i);
        if ($i % 20000 < 2) {
            copy("$samples/" . ($i % 2 ? "checker" : "rings") . ".spr", $name) or die "$name: $!";
            $source[$i % 2] = $name;
        } else {
            link($source[$i % 2], $name) or die "$name: $!";
        }
    }' "$place/samples" "$place/big"
cp "$viewer" "$place/kadromir"
start_x_session 1280x1024 none

median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }
rm -f "$place/Кадромир.кфг"
one=() big=()
"$first_paint" "$first" "$place/kadromir" "$place/big/p000000.spr" >/dev/null # warm caches
for _ in $(seq "$runs"); do
    one+=("$("$first_paint" "$first" "$place/kadromir" "$place/one/p000000.spr" | cut -d' ' -f1)")
    big+=("$("$first_paint" "$first" "$place/kadromir" "$place/big/p000000.spr" | cut -d' ' -f1)")
done
o="$(printf '%s\n' "${one[@]}" | median)"
b="$(printf '%s\n' "${big[@]}" | median)"
awk -v o="$o" -v b="$b" -v r="$runs" 'BEGIN {
    printf "start to picture, 100,000 entries: %s ms; one entry: %s ms (medians of %s); ratio %.2f (target 1.30)\n", b, o, r, b / o }'

floor_kb="$("$first_paint" "$first" "$minimal" "$place/rings.png" | cut -d' ' -f2)"
printf '[Настройки]\nАвтообновление пути файлов=1\nИнтервал автообновления пути файлов=1\n' \
    >"$place/Кадромир.кфг"
read -r p50 p99 longest peak_kb <<<"$("$key_latency" 300 "$first" "$second" "$place/kadromir" "$place/big/p000000.spr")"
echo "key to picture, 100,000 entries, refresh every second: p50 $p50 ms, p99 $p99 ms (target 16), max $longest ms"
awk -v p="$peak_kb" -v f="$floor_kb" 'BEGIN {
    printf "peak memory, 100,000 entries, refresh on: %.1f MB; plain Qt window %.1f MB; +%.1f MB (target +10)\n", p / 1024, f / 1024, (p - f) / 1024 }'
