#!/usr/bin/env bash
# End to end: choosing a button's function. A popup row, a submenu row, and the warning that
# guards the only left click, cancelled with Escape and confirmed; the choices reach the mouse and
# config.ini at Apply. Screenshots of the popup, the submenu and the warning in both languages go
# to $HXT_BUILD_DIR/screenshots/popup-*.png. Clicks land on entries of the shipped skin files and on
# rows computed from the shipped mask pictures.
# Usage: test_popups.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
e2e_screenshots
ini=$work/config.ini

# Sizes of the shipped mask pictures: the popup's rows are a tenth of its mask, the submenu's a twelfth.
read -r W MH < <(identify -format '%w %h' "$work/skins/menu_mask.jpg")
read -r W2 MH2 < <(identify -format '%w %h' "$work/skins/advanced menu_mask.jpg")
H=$((MH / 10)); H2=$((MH2 / 12))

point_at() { xdotool mousemove "$1" "$2" sleep 0.3; }
# Where the popup of function box TAG opens: just below the box.
popup_origin() {  # TAG
    local ex ey ew eh
    read -r ex ey ew eh < <(entry_rect main "$1" "$lang")
    echo "$((X + ex)) $((Y + ey + eh))"
}
popup_shown() { [ -n "$(xdotool search --onlyvisible --name '^MainMenuDlg$' 2>/dev/null)" ]; }
popup_gone() { ! popup_shown; }
# The warning: a caption-less window of the warning picture's size at the popup's place.
warning_window() {
    local id
    for id in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id" | sed 's/^/W_/')"
        [ "$W_X" = "$1" ] && [ "$W_Y" = "$2" ] && { echo "$id"; return 0; }
    done
    return 1
}
shot() { e2e_shot "popup-$1" "${@:2}"; }  # NAME X Y WIDTH HEIGHT

start_program() {  # VER_SEL
    sed -i "s/^VER_SEL=.*/VER_SEL=$1\r/" "$ini"
    lang=$1
    e2e_start_with_virtual_mouse
}
stop_program() {
    e2e_alt_f4 "$wid"
    e2e_wait_for_exit 20 || fail "the program was still running 20 s after Alt+F4"
}

for language in 1 0; do
    start_program $language
    name=$([ $language = 1 ] && echo en || echo cn)
    slot=$(ini_value Init CurConfig)
    [ "$(ini_value "Config$slot" K1)" = 1 ] && [ "$(ini_value "Config$slot" K2)" != 1 ] ||
        fail "the test expects button 1 alone to hold the left click in slot $slot"

    # A popup row: button 2 takes function 3.
    click main function-box-2
    e2e_poll 10 popup_shown || fail "no popup opened for button 2"
    read -r PX PY < <(popup_origin function-box-2)
    point_at $((PX + W / 2)) $((PY + 2 * H + H / 2))
    shot "menu-$name" "$PX" "$PY" "$W" $((10 * H + 1))
    click_at $((PX + W / 2)) $((PY + 2 * H + H / 2))
    e2e_poll 10 popup_gone || fail "the popup stayed after a choice"

    # A submenu row: the group of row 10 opens beside the popup at its top; its row 4 is code 34.
    click main function-box-3
    e2e_poll 10 popup_shown || fail "no popup opened for button 3"
    read -r PX PY < <(popup_origin function-box-3)
    point_at $((PX + W / 2)) $((PY + 9 * H + H / 2))
    sleep 0.5
    point_at $((PX + W + W2 / 2)) $((PY + 3 * H2 + H2 / 2))
    shot "submenu-$name" "$PX" "$PY" $((W + W2)) $((10 * H + 1))
    click_at $((PX + W + W2 / 2)) $((PY + 3 * H2 + H2 / 2))
    e2e_poll 10 popup_gone || fail "the popup stayed after a submenu choice"

    # The warning before button 1 gives up the only left click: Escape cancels it, no popup opens.
    read -r PX PY < <(popup_origin function-box-1)
    click main function-box-1
    warn=$(e2e_poll 10 warning_window "$PX" "$PY" && warning_window "$PX" "$PY") || fail "no warning before the only left click"
    eval "$(xdotool getwindowgeometry --shell "$warn" | sed 's/^/WARN_/')"
    shot "warning-$name" "$PX" "$PY" "$WARN_WIDTH" "$WARN_HEIGHT"
    xdotool windowfocus --sync "$warn" 2>/dev/null || xdotool windowfocus "$warn"
    xdotool key --clearmodifiers Escape
    warning_gone() { ! warning_window "$PX" "$PY" >/dev/null; }
    e2e_poll 10 warning_gone || fail "Escape left the warning open"
    popup_shown && fail "a cancelled warning opened the popup"
    # Confirmed: the popup opens; a press elsewhere on the page (on the status line, which the
    # popup below button 1 does not cover) closes it, choosing nothing.
    click main function-box-1
    e2e_poll 10 warning_window "$PX" "$PY" >/dev/null || fail "no warning the second time"
    read -r cx cy < <(entry warning confirm "$lang")
    click_at $((PX + cx)) $((PY + cy))
    e2e_poll 10 popup_shown || fail "confirming the warning opened no popup"
    click main status
    e2e_poll 10 popup_gone || fail "a press on the page left the popup open"

    # Apply: the two choices reach the mouse and config.ini; button 1 kept its left click.
    vmouse clear >/dev/null
    click main apply
    e2e_poll 10 ini_is "Config$slot" K3 34 || fail "K3 is $(ini_value "Config$slot" K3) after Apply"
    [ "$(ini_value "Config$slot" K2)" = 3 ] || fail "K2 is $(ini_value "Config$slot" K2) after Apply"
    [ "$(ini_value "Config$slot" K1)" = 1 ] || fail "K1 lost the left click"
    features | grep -qx '07 10 02 03 00 00 00 00 00' || fail "Apply did not map button 2 to function 3: $(features)"
    features | grep -qx '07 10 03 1F 00 00 00 00 00' || fail "Apply did not put button 3 in host mode: $(features)"
    stop_program
    # The next language starts from the shipped configuration again.
    cp "$src/data/config.ini" "$ini"
done
echo "popups: rows, submenu, warning and Apply as expected in both languages"
