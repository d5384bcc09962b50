#!/usr/bin/env bash
# The real viewer opened on a picture in a directory of several: the title gives the
# position, Right steps to the next picture, and the drawing area then shows exactly
# that picture's colours in the proportions the converter gives for it; the save
# writes the converter's PNG; a picture named relative to the working folder opens.
# Usage: navigation_test.sh VIEWER CONVERTER SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
converter="$2"
source "$(dirname "$0")/xsession.sh"
private_viewer "$1" "$4"
sample_pictures "$3"
start_x_session 1280x1024 || exit 1

start_viewer 'Кадромир : 2/5  checker.spr' "$work/pictures/checker.spr"
xdotool key Right
check "Right steps to diagonal.scr" wait_for_title 'Кадромир : 3/5  diagonal.scr'
"$converter" "$work/pictures/diagonal.scr" -o "$out/expected.png"
border="$(convert "$out/expected.png" -format '%[Border]' info:)"
# The border colour also fills the margins around the area; it is left out.
border_rgb="$(awk -v code=$((16#$border)) 'BEGIN {
    split("00 32 5C 7F 9F BF DF FF", level, " "); split("00 7F BF FF", blue, " ");
    printf "%s%s%s", level[code % 8 + 1], level[int(code / 8) % 8 + 1], blue[int(code / 64) + 1] }')"
histogram() { convert "$1" -depth 8 -format %c histogram:info:- | sed -n 's/^ *\([0-9]*\):.*#\([0-9A-F]\{6\}\).*/\2 \1/p'; }
histogram "$out/expected.png" | sort >"$out/expected.txt"

# Every picture colour but black (menu text is black too) and the border's shows in
# the drawing area (256 x 279 in a window of the first size) as often as the picture
# holds it, scaled. Sets $ok and $bad; true once every colour matches.
picture_shown() {
    import -window root "$out/diagonal.png"
    local x y w h matched
    read -r x y w h <<<"$(client_geometry "$window")"
    convert "$out/diagonal.png" -crop "${w}x${h}+${x}+${y}" +repage "$out/client.png"
    histogram "$out/client.png" | sort >"$out/shown.txt"
    matched="$(join "$out/expected.txt" "$out/shown.txt" | awk -v area=$((256 * 279)) -v border="$border_rgb" '
        $1 != "000000" && $1 != border {
            expected = $2 * area / 65536
            if ($3 >= expected * 0.97 && $3 <= expected * 1.03) ok++; else bad++
        }
        END { printf "%d %d", ok, bad }')"
    read -r ok bad <<<"$matched"
    [ "$ok" -ge 10 ] && [ "$bad" -eq 0 ]
}
ok=0
bad=0
wait_until 5 picture_shown
check "the drawing area shows diagonal.scr's colours in its proportions ($ok match, $bad do not; border code $border)" \
    test "$ok" -ge 10 -a "$bad" -eq 0
# The window with its frame, as the README shows it (docs/viewer.png).
read -r left top width height <<<"$(outer_geometry "$window")"
convert "$out/diagonal.png" -crop "${width}x${height}+${left}+${top}" +repage -colors 64 \
    "$out/viewer-window.png"

# Saved through the picture's context menu, where the dialog starts: the converter's PNG.
xdotool mousemove --window "$window" 140 180 click 3
popup_open() { xdotool search --onlyvisible --class kadromir 2>/dev/null | grep -qv "^$window$"; }
wait_until 5 popup_open
xdotool key Down Return
dialog=""
save_dialog() { dialog="$(xdotool search --name '^Сохранить как PNG$' 2>/dev/null | head -n 1)"; [ -n "$dialog" ]; }
check "the context menu's first item opens the save dialog" wait_until 5 save_dialog
xdotool windowactivate --sync "$dialog" key Return
saved() { cmp -s "$work/pictures/diagonal.png" "$out/expected.png"; }
check "Return saves diagonal.png beside the picture, byte for byte the converter's" wait_until 5 saved

close_viewer

# A picture named relative to the folder the viewer is started in, as from a shell.
cd "$work/pictures" || exit 1
start_viewer 'Кадромир : 5/5  waves.scr' waves.scr
cd - >/dev/null || exit 1
xdotool key Left
check "a relative name opens and lists its folder: Left steps to rings.spr" \
    wait_for_title 'Кадромир : 4/5  rings.spr'
close_viewer
finish
