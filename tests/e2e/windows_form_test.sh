#!/usr/bin/env bash
# What users bring from the Windows form and old disks, through the real viewer and the
# converter: a settings file in Windows-1251 that turns the slide show on (the slides
# run, and the file is still Windows-1251 after the viewer rewrote it); picture names
# in Windows-1251 and 866 shown in the title by their letters, stepped away from and
# back to; GAME.SCR beside GAME.PAL taking that palette's colours.
# Usage: windows_form_test.sh VIEWER CONVERTER SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
converter="$2"
source "$(dirname "$0")/xsession.sh"
private_viewer "$1" "$4"
mkdir "$work/all" "$work/pictures"
"$3" "$work/all"
cp "$work/all/rings.spr" "$work/pictures/$(printf '\xca\xee\xf2.spr')"   # Кот.spr in 1251
cp "$work/all/checker.spr" "$work/pictures/$(printf '\x85\xab\xec.SPR')" # Ель.SPR in 866
cp "$work/all/bands.rmb" "$work/pictures/Bear.rmb"
cp "$work/all/waves.scr" "$work/pictures/GAME.SCR"
cp "$work/all/waves.pal" "$work/pictures/GAME.PAL"
printf '[Настройки]\r\nПоказ слайдов=1\r\nИнтервал слайдов=1\r\nЗапуск недавнего файла=1\r\nНедавний файл=\r\n' |
    iconv -f UTF-8 -t WINDOWS-1251 >"$config"
start_x_session 1280x1024 || exit 1

title() { xdotool getwindowname "$window"; }
# Waits for the slide after the one shown; prints the new title.
next_slide() { wait_for_change title; }

start_viewer 'Кадромир : 1/4  Bear.rmb' "$work/pictures/Bear.rmb"
first="$(next_slide)"
second="$(next_slide)"
check "the Windows-1251 settings run the slide show ($first, then $second)" \
    test "$first|$second" = "Кадромир : 2/4  GAME.SCR|Кадромир : 3/4  Ель.SPR"
third="$(next_slide)"
check "a Windows-1251 name shows by its letters ($third)" test "$third" = "Кадромир : 4/4  Кот.spr"
close_viewer
check "the settings file is still Windows-1251 after the close wrote the recent file" \
    bash -c "! iconv -f UTF-8 -t UTF-8 '$config' >/dev/null 2>&1"
iconv -f WINDOWS-1251 -t UTF-8 "$config" >"$out/settings.txt"
key="$(printf 'Недавний файл=' | iconv -f UTF-8 -t WINDOWS-1251)"
check "and holds the recent file by its own bytes" \
    grep -qaF "$key$work/pictures/$(printf '\xca\xee\xf2.spr')" "$config"

# The next start opens that recent file again.
start_viewer 'Кадромир : 4/4  Кот.spr'
close_viewer

# Stepping by hand, the slide show off.
printf '[Настройки]\r\n' | iconv -f UTF-8 -t WINDOWS-1251 >"$config"
start_viewer 'Кадромир : 4/4  Кот.spr' "$work/pictures/$(printf '\xca\xee\xf2.spr')"
xdotool key Right
check "stepped away from Кот.spr" wait_for_title 'Кадромир : 1/4  Bear.rmb'
xdotool key Left
check "and back to it" wait_for_title 'Кадромир : 4/4  Кот.spr'
xdotool key Left
check "an 866 name shows by its letters" wait_for_title 'Кадромир : 3/4  Ель.SPR'
xdotool key Left
check "GAME.SCR is listed" wait_for_title 'Кадромир : 2/4  GAME.SCR'
# Its border is GAME.PAL's first code, and it fills the margins of the window.
"$converter" "$work/pictures/GAME.SCR" -o "$out/game.png"
border="$(convert "$out/game.png" -format '%[Border]' info:)"
check "the converter takes GAME.PAL's colours (border $border)" \
    test "$border" = "$(od -An -tx1 -N1 "$work/pictures/GAME.PAL" | tr -d ' ' | tr a-f A-F)"
border_rgb="$(awk -v code=$((16#$border)) 'BEGIN {
    split("00 32 5C 7F 9F BF DF FF", level, " "); split("00 7F BF FF", blue, " ");
    printf "%s%s%s", level[code % 8 + 1], level[int(code / 8) % 8 + 1], blue[int(code / 64) + 1] }')"
margin_is_border() {
    local x y w h
    read -r x y w h <<<"$(client_geometry "$window")"
    import -window root "$out/game-window.png"
    [ "$(convert "$out/game-window.png" -crop "1x1+$((x + w - 2))+$((y + h / 2))" -depth 8 \
        -format '%[hex:p{0,0}]' info: 2>/dev/null)" = "$border_rgb" ]
}
xdotool key 2 # twice the size: margins beside the picture
check "the viewer shows GAME.SCR with GAME.PAL's border #$border_rgb" wait_until 5 margin_is_border
close_viewer
finish
