#!/usr/bin/env bash
# The viewer as a Windows program, under wine in Xvfb with openbox, driven by xdotool
# and read back from the X server (and, for the drawing area's place, from the Windows
# side with window_probe): the title; the picture's pixels on a screenshot against the
# converter's PNG; steps and the wrap-around; 1, 2 and C; the folder overview (its tiles
# against the converter's thumbnails, a move, an open); the settings file beside the
# program in Windows-1251 after the close; a restart at the stored place. All of it
# under a Western (1252) and a Russian (1251) ANSI code page, from a folder whose name
# is Cyrillic.
# Wine draws no caption or border of its own (openbox frames the window), so what is
# judged is the client area, the drawing area and the picture. Then the copy (the
# clipboard's PNG and bitmap, read by another program), Save as PNG through the save
# dialog, a picture opened through the open dialog, the settings dialog (a box ticked, a value typed, an arrow clicked,
# Применить, the file) and the slide show it starts.
# Last a drop: a real XDND drop from a small X client of the test (xdnd_drop.c), of a
# picture with a Cyrillic name in a Cyrillic folder elsewhere.
# Usage: viewer_test.sh VIEWER CONVERTER SAMPLES_TOOL WINDOW_PROBE OUTPUT_DIR
set -uo pipefail
viewer="$(realpath "$1")"
converter="$(realpath "$2")"
samples="$(realpath "$3")"
probe="$(realpath "$4")"
mkdir -p "$5"
out="$(realpath "$5")"
source "$(dirname "$0")/../e2e/xsession.sh"
scratch="$(mktemp -d)"
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1; stop_x_session; rm -rf "$scratch"' EXIT
# The server first started with the display: without one it keeps a 1024 x 768 screen.
start_x_session 1280x1024 || exit 1
cc -o "$scratch/xdnd_drop" "$(dirname "$0")/xdnd_drop.c" -lX11 || { echo "FAILED: xdnd_drop"; exit 1; }
export LOCPATH="$scratch/locales"
mkdir "$LOCPATH"
for windows_locale in en_US.UTF-8 ru_RU.UTF-8; do
    localedef -i "${windows_locale%.*}" -f UTF-8 "$LOCPATH/$windows_locale" 2>>"$out/localedef.txt"
done

# A Windows program's output in text mode ends its lines with CR LF.
on_windows() { LC_ALL="$windows_locale" wine "$@" | tr -d '\r'; }
# "left top width height" of the drawing area on the screen.
drawing_area() { on_windows "$probe" "$(xdotool getwindowname "$window")" 2>/dev/null | sed -n 's/^drawing //p'; }
# Waits until the drawing area reads the same twice in a row, 100 ms apart.
settled_drawing_area() {
    local last="" now
    for _ in $(seq 50); do
        now="$(drawing_area)"
        [ -n "$now" ] && [ "$now" = "$last" ] && { echo "$now"; return 0; }
        last="$now"
        sleep 0.1
    done
    return 1
}
# Whether the drawing area on the screen shows the picture of PNG: each of its pixels
# stretched over the area, read back at the middle of its block.
shows_picture() { # PNG SHOT_NAME
    local left top width height
    read -r left top width height <<<"$(settled_drawing_area)"
    [ -n "${height:-}" ] || return 1
    import -window root "$out/$2.png"
    convert "$out/$2.png" -crop "${width}x${height}+${left}+${top}" +repage -sample '256x256!' \
        "$out/$2-picture.png"
    [ "$(compare -metric AE "$out/$2-picture.png" "$1" null: 2>&1)" = 0 ]
}
# A file URI, every byte but the slashes escaped.
file_uri() { # PATH
    printf 'file://'
    printf '%s' "$1" | xxd -p -c1 | while read -r byte; do
        if [ "$byte" = 2f ]; then printf /; else printf '%%%s' "$byte"; fi
    done
}
# Drops the file on the middle of the window, as a file manager does.
drop_on_window() { # PATH
    local x y w h
    read -r x y w h <<<"$(client_geometry "$window")"
    "$scratch/xdnd_drop" "$window" "$((x + w / 2))" "$((y + h / 2))" "$(file_uri "$1")"
}
# Four bytes, little-endian.
le32() { printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) \
    $((($1 >> 16) & 255)) $((($1 >> 24) & 255)))"; }
# A packed device-independent bitmap (a 16-colour one) as a .bmp file.
dib_to_bmp() { # DIB BMP
    local size
    size="$(stat -c %s "$1")"
    { printf BM; le32 $((14 + size)); le32 0; le32 $((14 + 40 + 16 * 4)); cat "$1"; } >"$2"
}
# Waits for a window that was not on screen before (BEFORE: the ids then); prints it.
new_window() { # BEFORE
    for _ in $(seq 100); do
        local id
        id="$(comm -13 <(sort <<<"$1") <(xdotool search --onlyvisible --name . 2>/dev/null | sort) | head -n 1)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
# Waits up to 8 s for the window's title to change; prints the new one.
next_title() {
    local before now
    before="$(xdotool getwindowname "$window")"
    for _ in $(seq 160); do
        now="$(xdotool getwindowname "$window" 2>/dev/null)"
        [ -n "$now" ] && [ "$now" != "$before" ] && { echo "$now"; return 0; }
        sleep 0.05
    done
    return 1
}
launch() { # [ARGUMENT...]
    (cd "$app" && LC_ALL="$windows_locale" exec wine kadromir.exe "$@") >>"$out/wine.txt" 2>&1 &
    pid=$!
}
close_window() {
    wmctrl -i -c "$window"
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    wait "$pid"
}
# Whether the window's client part (menu bar, client area and status line) has its
# middle within a few pixels of the screen's middle.
centred() {
    local x y w h
    read -r x y w h <<<"$(client_geometry "$window")"
    local dx=$((x + w / 2 - 640)) dy=$((y + h / 2 - 512))
    [ "${dx#-}" -le 12 ] && [ "${dy#-}" -le 24 ]
}

for windows_locale in en_US.UTF-8 ru_RU.UTF-8; do
    echo "--- $windows_locale"
    place="$scratch/$windows_locale"
    app="$place/Кадромир"
    pictures="$place/картинки"
    mkdir -p "$app"
    cp "$viewer" "$app/kadromir.exe"
    # The sample tool takes ASCII names only; the folder gets its Cyrillic name after.
    on_windows "$samples" "$(winepath -w "$place/samples")" >/dev/null 2>>"$out/wine.txt"
    mv "$place/samples" "$pictures"
    on_windows "$converter" "$(winepath -w "$pictures/rings.spr")" -o "$(winepath -w "$place/rings.png")" \
        2>>"$out/wine.txt"

    launch "$(winepath -w "$pictures/rings.spr")"
    window="$(wait_for_window 'Кадромир : 4/5  rings.spr')"
    check "it starts with the picture: the title in UTF-8" test -n "$window"
    [ -n "$window" ] || continue
    xdotool windowactivate --sync "$window"
    xdotool key 1
    check "1: the picture's pixels, each in its place" wait_until 5 shows_picture "$place/rings.png" one
    read -r _ _ one_width _ <<<"$(settled_drawing_area)"
    xdotool key 2
    wait_until 5 bash -c '[ "$(xwininfo -id '"$window"' | sed -n "s/^ *Width: *//p")" -gt 400 ]'
    read -r _ _ two_width _ <<<"$(settled_drawing_area)"
    check "2: the drawing area twice as wide, less the frame ($one_width, then $two_width)" \
        test "$two_width" -ge $((2 * one_width - 16)) -a "$two_width" -le $((2 * one_width + 16))
    check "2: the picture's pixels" shows_picture "$place/rings.png" two
    xdotool key c
    check "C: the window in the middle of the screen" wait_until 5 centred

    xdotool key Right
    check "Right: the next picture" wait_for_title 'Кадромир : 5/5  waves.scr'
    xdotool key Right
    check "Right after the last: the first" wait_for_title 'Кадромир : 1/5  bands.rmb'
    xdotool key Left
    check "Left before the first: the last" wait_for_title 'Кадромир : 5/5  waves.scr'
    xdotool key BackSpace
    check "Backspace: the one before" wait_for_title 'Кадромир : 4/5  rings.spr'

    # The folder overview: Enter; each tile on the screen is the converter's 128-pixel
    # thumbnail of its picture (cells 144 x 164 with 8 between them); Right, then Enter
    # opens the selected picture.
    names=(bands.rmb checker.spr diagonal.scr rings.spr waves.scr)
    for name in "${names[@]}"; do
        on_windows "$converter" -s 128 "$(winepath -w "$pictures/$name")" \
            -o "$(winepath -w "$place/${name%.*}-128.png")" 2>>"$out/wine.txt"
    done
    overview_shown() { # the overview's ground fills much of the drawing area
        local left top width height count
        read -r left top width height <<<"$(drawing_area)"
        [ -n "${height:-}" ] || return 1
        import -window root "$out/overview-$windows_locale.png"
        convert "$out/overview-$windows_locale.png" -crop "${width}x${height}+${left}+${top}" +repage \
            "$out/overview-area.png"
        count="$(convert "$out/overview-area.png" -format %c histogram:info:- | awk '/#202020/ { print $1 + 0 }')"
        [ "${count:-0}" -gt 10000 ]
    }
    tiles_match() {
        overview_shown || return 1
        local width n x y
        width="$(identify -format %w "$out/overview-area.png")"
        local columns=$(((width - 8) / 152))
        for n in 0 1 2 3 4; do
            x=$((16 + (n % columns) * 152))
            y=$((16 + (n / columns) * 172))
            convert "$out/overview-area.png" -crop "128x128+$x+$y" +repage "$out/tile.png"
            [ "$(compare -metric AE "$out/tile.png" "$place/${names[$n]%.*}-128.png" null: 2>&1)" = 0 ] ||
                return 1
        done
    }
    xdotool key Return
    check "Enter: the folder overview" wait_until 5 overview_shown
    check "each tile is its picture's thumbnail, pixel for pixel" wait_until 10 tiles_match
    xdotool key Right
    check "Right moves the selection; the title follows" wait_for_title 'Кадромир : 5/5  waves.scr'
    xdotool key Return
    overview_gone() { ! overview_shown; }
    check "Enter opens the selected picture in place of the overview" wait_until 5 overview_gone
    xdotool key BackSpace
    check "back to rings.spr" wait_for_title 'Кадромир : 4/5  rings.spr'

    # The copy: the clipboard holds the converter's PNG, and a bitmap of the same pixels.
    xdotool key ctrl+c
    check "Ctrl+C: the PNG and the bitmap on the clipboard" wait_until 5 \
        on_windows "$probe" --clipboard "$(winepath -w "$place/clip.png")" "$(winepath -w "$place/clip.dib")"
    check "the clipboard's PNG is the converter's" cmp -s "$place/clip.png" "$place/rings.png"
    dib_to_bmp "$place/clip.dib" "$place/clip.bmp"
    check "its bitmap has the picture's pixels" \
        test "$(compare -metric AE "$place/clip.bmp" "$place/rings.png" null: 2>&1)" = 0

    # Save as PNG: the dialog offers the picture's name; a full path typed over it.
    xdotool key ctrl+s
    save="$(wait_for_window 'Сохранить как PNG')"
    check "Ctrl+S: the save dialog" test -n "$save"
    if [ -n "$save" ]; then
        xdotool windowactivate --sync "$save" key End shift+Home
        xdotool type "$(winepath -w "$place/saved.png")"
        xdotool key Return
        check "the saved PNG is the converter's" wait_until 5 cmp -s "$place/saved.png" "$place/rings.png"
    fi
    xdotool windowactivate --sync "$window"

    # O: the open dialog, a path typed into it (in ASCII: xdotool cannot type Cyrillic
    # into wine).
    cp -r "$pictures" "$place/opened"
    before="$(xdotool search --onlyvisible --name . 2>/dev/null)"
    xdotool key o
    opener="$(new_window "$before")"
    check "O: the open dialog" test -n "$opener"
    if [ -n "$opener" ]; then
        xdotool windowactivate --sync "$opener" key End shift+Home
        xdotool type "$(winepath -w "$place/opened/diagonal.scr")"
        xdotool key Return
        check "the picture chosen there opens, in its folder's list" \
            wait_for_title 'Кадромир : 3/5  diagonal.scr'
        # A dialog left open would hold the window.
        xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$opener" &&
            xdotool key --window "$opener" Escape
    fi
    xdotool windowactivate --sync "$window"

    # The settings dialog: ticked boxes, a value typed into the refresh field, the slide
    # interval raised with its up arrow, Применить.
    xdotool key F10 Right Return
    dialog="$(wait_for_window 'Настройки')"
    check "the settings dialog from its menu item" test -n "$dialog"
    # The dialog sets its width once it is framed: the controls are read once it has.
    wait_for_settled "$dialog"
    controls=""
    for _ in $(seq 20); do
        now="$(on_windows "$probe" --controls Настройки 2>/dev/null)"
        [ -n "$now" ] && [ "$now" = "$controls" ] && break
        controls="$now"
        sleep 0.2
    done
    echo "$controls" >"$out/controls-$windows_locale.txt"
    # Clicks the middle of the first control whose line matches PATTERN.
    click_control() { # PATTERN [DX]
        local x y w h
        read -r _ x y w h _ <<<"$(grep -m 1 -- "$1" <<<"$controls")"
        [ -n "${h:-}" ] || return 1
        xdotool mousemove "$((x + ${2:-w / 2}))" "$((y + h / 4))" click 1
    }
    xdotool windowactivate --sync "$dialog"
    click_control 'Button .* Показ слайдов' 8
    click_control 'Button .* Автообновление пути файлов' 8
    # The refresh field is the second edit field, the slide interval's arrows the
    # up-down control right of the first.
    read -r _ rx ry rw rh _ <<<"$(grep 'Edit ' <<<"$controls" | sed -n 2p)"
    xdotool mousemove "$((rx + rw / 2))" "$((ry + rh / 2))" click 1
    xdotool key End shift+Home
    xdotool type 12
    read -r _ sx _ sw _ _ <<<"$(grep 'Edit ' <<<"$controls" | sed -n 1p)"
    arrows="$(grep 'msctls_updown32' <<<"$controls" | awk -v right="$((sx + sw))" '$2 == right')"
    read -r _ ax ay aw ah _ <<<"$arrows"
    for _ in 1 2; do
        xdotool mousemove "$((ax + aw / 2))" "$((ay + ah / 4))" click 1
        sleep 0.2
    done
    import -window root "$out/dialog-$windows_locale.png"
    click_control 'Button .* Применить$'
    config="$app/Кадромир.кфг"
    settings_say() { iconv -f WINDOWS-1251 -t UTF-8 "$config" | tr -d '\r' | grep -qx "$1"; }
    check "Применить: the slide show in the file" wait_until 5 settings_say 'Показ слайдов=1'
    check "the interval raised twice from 1" settings_say 'Интервал слайдов=3'
    check "the refresh interval as typed" settings_say 'Интервал автообновления пути файлов=12'
    xdotool key Escape
    check "Esc closes the dialog" wait_until 5 bash -c "! xdotool search --name '^Настройки\$' >/dev/null"
    first="$(next_title)"
    second="$(next_title)"
    check "the slide show steps on its own ($first, then $second)" test -n "$first" -a -n "$second"

    close_window
    check "a close ends the program with status 0" test "$?" -eq 0
    check "the settings file beside the program" test -f "$config"
    check "written in Windows-1251 with CRLF, as the first form writes it" \
        test "$(head -c 13 "$config" | xxd -p)" = "5bcde0f1f2f0eee9eae85d0d0a"

    # The stored place comes back: the settings keep it, as the user set them.
    printf '[Настройки]\r\nСохранять координаты главного окна=1\r\n' |
        iconv -f UTF-8 -t WINDOWS-1251 >"$config"
    launch "$(winepath -w "$pictures/checker.spr")"
    window="$(wait_for_window 'Кадромир : 2/5  checker.spr')"
    xdotool windowactivate --sync "$window"
    xdotool windowmove --sync "$window" 200 150
    wait_for_settled "$window"
    before="$(client_geometry "$window")"
    close_window
    check "the close stores the place (x=, y= in the file)" \
        bash -c "iconv -f WINDOWS-1251 -t UTF-8 '$config' | grep -q '^x=' && iconv -f WINDOWS-1251 -t UTF-8 '$config' | grep -q '^y='"
    launch "$(winepath -w "$pictures/checker.spr")"
    window="$(wait_for_window 'Кадромир : 2/5  checker.spr')"
    wait_for_settled "$window"
    after="$(client_geometry "$window")"
    check "a restart at the stored place and size ($before, then $after)" test "$before" = "$after"
    # A drop from elsewhere: the dropped picture, in its own folder's list.
    mkdir "$place/сброшенные"
    cp "$pictures/checker.spr" "$place/сброшенные/Ёлка.spr"
    cp "$pictures/bands.rmb" "$place/сброшенные/b.rmb"
    check "an XDND drop is taken" drop_on_window "$place/сброшенные/Ёлка.spr"
    check "and opens the dropped picture, its Cyrillic name whole" wait_for_title 'Кадромир : 2/2  Ёлка.spr'
    close_window
    cp "$config" "$out/settings-$windows_locale.txt"
    wineserver -k >/dev/null 2>&1
    wineserver -w
done
finish
