#!/usr/bin/env bash
# The settings file as users have it, with the real viewer run as an ordinary user:
# a file the user may not write or read is left as it was; a link is followed; a file
# in a closed directory is rewritten in place; a program installed where the user
# cannot write keeps its settings in the home folder across restarts; a full disk
# leaves the old file whole; a byte-order mark is kept; and no stored size hides the
# window. The write asked for is the recent file's, at close.
# Usage: settings_file_test.sh VIEWER SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
source "$(dirname "$0")/xsession.sh"
private_viewer "$1" "$3"
"$2" "$work/pictures" >/dev/null
picture="$work/pictures/checker.spr"
title='Кадромир : 2/5  checker.spr'
recent=$'[Настройки]\nЗапуск недавнего файла=1\nНедавний файл=/old.spr\n'
start_x_session 1280x1024 || exit 1

# One run whose close asks for one write: the recent file has changed.
run_once() {
    start_viewer "$title" "$picture"
    close_viewer
}
stores_picture() { grep -qx "Недавний файл=$picture" "$1"; }

for mode in 444 000; do
    printf '%s; mine\n' "$recent" >"$config"
    chmod "$mode" "$config"
    cp "$config" "$out/expected"
    run_once
    check "a file of mode $mode is left as it was" cmp -s "$config" "$out/expected"
    check "and keeps mode $mode" test "$((8#$(stat -c %a "$config")))" = "$((8#$mode))"
    rm -f "$config"
done

mkdir "$work/dotfiles"
printf '%s' "$recent" >"$work/dotfiles/kfg"
ln -s dotfiles/kfg "$config"
run_once
check "a link stays a link" test -L "$config"
check "and its target is updated" stores_picture "$work/dotfiles/kfg"
rm -f "$config"

printf '%s' "$recent" >"$config"
chmod 555 "$work"
run_once
chmod 755 "$work"
check "a writable file in a closed directory is updated in place" stores_picture "$config"
rm -f "$config"

# Installed where the user cannot write: the settings live in the home folder.
home_config="$work/home/.config/kadromir/Кадромир.кфг"
chmod 555 "$work"
start_viewer 'Кадромир'
close_viewer
check "an installed viewer makes no file beside itself" test ! -e "$config"
check "it makes its file in ~/.config/kadromir" test -f "$home_config"
check "whose folder has mode 700" test "$(stat -c %a "$(dirname "$home_config")")" = 700
printf '%s' "$recent" >"$home_config"
run_once
check "the recent file is stored there" stores_picture "$home_config"
start_viewer "$title"
check "and the next start opens it" test -n "$window"
close_viewer
chmod 755 "$work"
rm -rf "$work/home/.config"

# A full disk: the old file stays whole, by the temporary file's road and in place.
tiny="$work/tiny"
mkdir "$tiny"
if mount -t tmpfs -o size=16k,uid=65534,gid=65534,mode=755 tmpfs "$tiny" 2>/dev/null; then
    ln -s tiny/kfg "$config"
    fill() { dd if=/dev/zero of="$tiny/filler" bs=1k 2>/dev/null; }
    printf '%s' "$recent" >"$tiny/kfg"
    fill
    cp "$tiny/kfg" "$out/expected"
    run_once
    check "on a full disk the file is left whole" cmp -s "$tiny/kfg" "$out/expected"
    rm -f "$tiny/filler"
    # One page of old text; the new one needs a second page, which is not there.
    { printf '%s; ' "$recent"; head -c $((4095 - $(printf '%s' "$recent" | wc -c) - 3)) /dev/zero | tr '\0' x; echo; } \
        >"$tiny/kfg"
    fill
    chmod 555 "$tiny"
    cp "$tiny/kfg" "$out/expected"
    run_once
    check "the old text fills one page" test "$(stat -c %s "$tiny/kfg")" = 4095
    check "on a full disk a rewrite in place changes no byte" cmp -s "$tiny/kfg" "$out/expected"
    umount "$tiny"
    rm -f "$config"
else
    echo "skipped: no tmpfs could be mounted here for the full-disk case"
fi

printf '\xEF\xBB\xBF%s' "$recent" >"$config"
run_once
check "a byte-order mark is kept" test "$(head -c 3 "$config" | od -An -tx1 | tr -d ' ')" = efbbbf
check "its section is found: one [Настройки]" test "$(grep -c 'Настройки]' "$config")" = 1
check "and the key written into it" stores_picture "$config"
rm -f "$config"

# Stored sizes that once left the window unmapped for good.
for size in "20 288" "25 288" "300 2" "300 0" "2147483647 288" "300 2147483647" "-5 -5"; do
    read -r height width <<<"$size"
    printf '[Настройки]\nСохранять координаты главного окна=1\nx=100\ny=100\nВысота=%s\nШирина=%s\n' \
        "$height" "$width" >"$config"
    start_viewer 'Кадромир'
    check "with Высота=$height and Ширина=$width the window is shown" \
        bash -c "xwininfo -id '$window' | grep -q IsViewable"
    close_viewer
done
finish
