#!/usr/bin/env bash
# The converter against its targets, measured in the same run:
# - a thumbnail (the thumbnailer's own command line, -s 128) next to Debian's
#   gdk-pixbuf-thumbnailer making a 128 px thumbnail of the same picture stored as PNG:
#   at most 0.5x its CPU time (median of 20 alternating runs), peak memory at most 8 MB;
# - 10,000 pictures with -d on every core next to a floor that reads, decodes and
#   deflates the same pictures in one thread and writes nothing: at most 2x.
# Usage: converter_bench.sh CONVERTER SAMPLES_TOOL FLOOR MEASURE
set -euo pipefail
converter="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
measure="$4"
"$2" "$scratch" >/dev/null
"$converter" "$scratch/rings.spr" -o "$scratch/rings.png"
read -r ours ours_peak gdk gdk_peak <<<"$("$measure" 20 \
    "$converter" -s 128 "$scratch/rings.spr" -o "$scratch/ours.png" --- \
    gdk-pixbuf-thumbnailer -s 128 "$scratch/rings.png" "$scratch/gdk.png" | tr '\n' ' ')"
ratio="$(echo "scale=2; $ours / $gdk" | bc)"
echo "thumbnail (rings.spr, -s 128): ${ours} ms CPU vs gdk-pixbuf-thumbnailer ${gdk} ms = ${ratio}x (target <= 0.5x); peak ${ours_peak} MB (target <= 8 MB; gdk-pixbuf-thumbnailer ${gdk_peak} MB)"

# 10,000 pictures: the samples, each copied 2,000 times.
mkdir "$scratch/batch" "$scratch/out"
for picture in rings.spr checker.spr waves.scr diagonal.scr bands.rmb; do
    for i in $(seq 2000); do cp "$scratch/$picture" "$scratch/batch/$i-$picture"; done
done
cp "$scratch/waves.pal" "$scratch/batch/"
inputs=("$scratch"/batch/*.spr "$scratch"/batch/*.scr "$scratch"/batch/*.rmb)
best_floor=""
best_ours=""
for _ in 1 2 3; do
    floor="$("$3" "${inputs[@]}" | cut -d' ' -f1)"
    start="$(date +%s.%N)"
    "$converter" "${inputs[@]}" -d "$scratch/out"
    taken="$(echo "$(date +%s.%N) - $start" | bc)"
    if [ -z "$best_floor" ] || [ "$(echo "$floor < $best_floor" | bc)" = 1 ]; then best_floor="$floor"; fi
    if [ -z "$best_ours" ] || [ "$(echo "$taken < $best_ours" | bc)" = 1 ]; then best_ours="$taken"; fi
done
ratio="$(echo "scale=2; $best_ours / $best_floor" | bc)"
echo "10,000 pictures with -d on $(nproc) cores: ${best_ours} s vs the floor ${best_floor} s = ${ratio}x (target <= 2x; best of 3)"
