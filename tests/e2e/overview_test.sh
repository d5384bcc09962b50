#!/usr/bin/env bash
# The folder overview of the real viewer under a window manager: Enter shows it, every
# tile on screen is pixel for pixel the converter's thumbnail of its picture at 128
# pixels, a file the decoder refuses has a plain tile; the keys move the selection and
# the title follows; Enter opens the selected picture; the refresh brings a new file
# into the overview, the selection staying on its file; Esc goes back to the picture.
# Usage: overview_test.sh VIEWER CONVERTER SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
converter="$2"
source "$(dirname "$0")/xsession.sh"
private_viewer "$1" "$4"
sample_pictures "$3"
printf 'not a picture' >"$work/pictures/zz.spr"
# The folder is read again every second.
printf '[Настройки]\nАвтообновление пути файлов=1\nИнтервал автообновления пути файлов=1\n' \
    >"$config"
start_x_session 1280x1024 || exit 1

start_viewer 'Кадромир : 2/6  checker.spr' "$work/pictures/checker.spr"
# Room for four columns of tiles.
xdotool windowsize "$window" 700 600
wait_for_settled "$window"

xdotool key Return
ground() { # the overview's ground fills much of the window (text alone has a few such pixels)
    import -window "$window" "$out/window.png"
    local count
    count="$(convert "$out/window.png" -format %c histogram:info:- | awk '/#202020/ { print $1 + 0 }')"
    [ "${count:-0}" -gt 10000 ]
}
check "Enter shows the overview" wait_until 5 ground
check "the title names the selected picture, the one shown" \
    wait_for_title 'Кадромир : 2/6  checker.spr'

# Where the overview begins in the window: the first row of its ground at the left edge.
area_top() {
    convert "$out/window.png" -crop 1x400+2+0 +repage -depth 8 txt:- |
        awk -F'[,: ]+' '/#202020/ { print $2; exit }'
}
# Tile n of four columns (128-pixel pictures, cells 144 x 164 with 8 between them):
# prints "left top" of its picture within the window.
picture_at() {
    echo "$((16 + ($1 % 4) * 152)) $((top + 16 + ($1 / 4) * 172))"
}
names=(bands.rmb checker.spr diagonal.scr rings.spr waves.scr)
for name in "${names[@]}"; do
    "$converter" -s 128 "$work/pictures/$name" -o "$out/${name%.*}-128.png"
done
# Every tile decoded and drawn: each picture's square is its thumbnail.
tiles_match() {
    import -window "$window" "$out/window.png"
    top="$(area_top)"
    [ -n "$top" ] || return 1
    local n left y differ
    for n in 0 1 2 3 4; do
        read -r left y <<<"$(picture_at "$n")"
        convert "$out/window.png" -crop "128x128+$left+$y" +repage "$out/tile-$n.png"
        differ="$(compare -metric AE "$out/tile-$n.png" "$out/${names[$n]%.*}-128.png" null: 2>&1)"
        [ "$differ" = "0" ] || return 1
    done
}
check "each tile is its picture's 128-pixel thumbnail, pixel for pixel" wait_until 10 tiles_match
# The window with its frame, as the README shows it (docs/overview.png).
import -window root "$out/screen.png"
read -r left top_edge width height <<<"$(outer_geometry "$window")"
convert "$out/screen.png" -crop "${width}x${height}+${left}+${top_edge}" +repage \
    "$out/overview-window.png"
# The refused file: a plain tile, grey where the picture's border would be.
read -r left y <<<"$(picture_at 5)"
refused="$(convert "$out/window.png" -format "%[hex:p{$((left - 4)),$((y - 4))}]" info: | cut -c1-6)"
check "the file the decoder refuses has a plain tile ($refused)" test "$refused" = "3C3C3C"

xdotool key Right
check "Right moves the selection and the title follows" \
    wait_for_title 'Кадромир : 3/6  diagonal.scr'
xdotool key Down
check "Down moves a row down" wait_for_title 'Кадромир : 6/6  zz.spr'
xdotool key Home
check "Home goes to the first" wait_for_title 'Кадромир : 1/6  bands.rmb'
xdotool type r
check "a name's first letter selects it" wait_for_title 'Кадромир : 4/6  rings.spr'

# A new file comes in with the refresh; the selection stays on rings.spr.
cp "$work/pictures/bands.rmb" "$work/pictures/aa.rmb"
check "the refresh adds a new file, the selection staying on its file" \
    wait_for_title 'Кадромир : 5/7  rings.spr'

xdotool key Return
check "Enter opens the selected picture" wait_for_title 'Кадромир : 5/7  rings.spr'
no_ground() { ! ground; }
check "the picture takes the overview's place" wait_until 5 no_ground

xdotool key Return
check "Enter shows the overview again" wait_until 5 ground
xdotool key End
check "End goes to the last" wait_for_title 'Кадромир : 7/7  zz.spr'
xdotool key Escape
check "Esc goes back to the picture as it was" wait_for_title 'Кадромир : 5/7  rings.spr'
check "the overview is gone" wait_until 5 no_ground
close_viewer
finish
