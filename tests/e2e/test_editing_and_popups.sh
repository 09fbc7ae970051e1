#!/usr/bin/env bash
# End to end: choosing a button's function, in English and then in Chinese. A popup row, a
# submenu row, and the warning that guards the only left click, cancelled with Escape and
# confirmed; the choices reach the mouse and config.ini at Apply. Screenshots of the popup, the
# submenu and the warning in both languages go to $HXT_BUILD_DIR/screenshots/popup-*.png. Clicks
# land on entries of the shipped skin files and on rows computed from the shipped mask pictures.
# Usage: test_editing_and_popups.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
ini=$work/config.ini
menu_sizes

# The warning: a caption-less window of the warning picture's size at the popup's place.
warning_window() {  # X Y
    local id W_X W_Y W_WIDTH W_HEIGHT
    for id in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | sed 's/^/W_/')"
        [ "$W_X" = "$1" ] && [ "$W_Y" = "$2" ] && { echo "$id"; return 0; }
    done
    return 1
}
warning_shown() { warning_window "$@" >/dev/null; }
warning_gone() { ! warning_shown "$@"; }
# Points at a popup row and waits until it shows hovered, then saves the popup as popup-NAME.
# A row shows hovered when its band differs from how it looked before the pointer came.
point_at_row() {  # X Y NAME SHOT-X SHOT-Y SHOT-WIDTH SHOT-HEIGHT
    grab "$work/row-before.png" $(($1 - MENU_W / 2)) $(($2 - MENU_H / 2)) "$MENU_W" "$MENU_H"
    xdotool mousemove "$1" "$2"
    e2e_poll 20 region_changed "$work/row-before.png" 0.01 $(($1 - MENU_W / 2)) $(($2 - MENU_H / 2)) "$MENU_W" "$MENU_H" ||
        fail "the row under the pointer does not show hovered ($3)"
    e2e_shot "popup-$3" "${@:4}"
}

for language in 1 0; do
    name=$([ $language = 1 ] && echo en || echo cn)
    # Each language starts from the shipped configuration.
    cp "$src/data/config.ini" "$ini"
    e2e_language $language
    e2e_start_with_virtual_mouse
    slot=$(ini_value Init CurConfig)
    [ "$(ini_value "Config$slot" K1)" = 1 ] && [ "$(ini_value "Config$slot" K2)" != 1 ] ||
        fail "the test expects button 1 alone to hold the left click in slot $slot"

    # 1. A popup row: button 2 takes function 3.
    click main function-box-2
    e2e_poll 20 popup_shown || fail "no popup opened for button 2"
    popup_origin function-box-2
    row_x=$((PX + MENU_W / 2)); row_y=$((PY + 2 * MENU_H + MENU_H / 2))
    point_at_row $row_x $row_y "menu-$name" "$PX" "$PY" "$MENU_W" $((10 * MENU_H + 1))
    click_at $row_x $row_y
    e2e_poll 20 popup_gone || fail "the popup stayed after a choice"

    # 2. A submenu row: the group of row 10 opens beside the popup at its top; its row 4 is code 34.
    click main function-box-3
    e2e_poll 20 popup_shown || fail "no popup opened for button 3"
    popup_origin function-box-3
    grab "$work/submenu-before.png" $((PX + MENU_W)) "$PY" "$SUB_W" $((12 * SUB_H))
    xdotool mousemove $((PX + MENU_W / 2)) $((PY + 9 * MENU_H + MENU_H / 2))
    e2e_poll 20 region_changed "$work/submenu-before.png" 0.05 $((PX + MENU_W)) "$PY" "$SUB_W" $((12 * SUB_H)) ||
        { e2e_shot popup-no-submenu 0 0 1280 1024; fail "pointing at the popup's last row opened no submenu"; }
    sub_x=$((PX + MENU_W + SUB_W / 2)); sub_y=$((PY + 3 * SUB_H + SUB_H / 2))
    grab "$work/subrow-before.png" $((PX + MENU_W)) $((sub_y - SUB_H / 2)) "$SUB_W" "$SUB_H"
    xdotool mousemove $sub_x $sub_y
    e2e_poll 20 region_changed "$work/subrow-before.png" 0.01 $((PX + MENU_W)) $((sub_y - SUB_H / 2)) "$SUB_W" "$SUB_H" ||
        fail "the submenu row under the pointer does not show hovered"
    e2e_shot "popup-submenu-$name" "$PX" "$PY" $((MENU_W + SUB_W)) $((10 * MENU_H + 1))
    click_at $sub_x $sub_y
    e2e_poll 20 popup_gone || fail "the popup stayed after a submenu choice"

    # 3. The warning before button 1 gives up the only left click: Escape cancels it, no popup
    # opens (the next warning shows the Escape was handled).
    popup_origin function-box-1
    click main function-box-1
    e2e_poll 20 warning_shown "$PX" "$PY" || fail "no warning before the only left click"
    warn=$(warning_window "$PX" "$PY")
    eval "$(xdotool getwindowgeometry --shell "$warn" | sed 's/^/WARN_/')"
    e2e_shot "popup-warning-$name" "$PX" "$PY" "$WARN_WIDTH" "$WARN_HEIGHT"
    xdotool windowfocus --sync "$warn" 2>/dev/null || xdotool windowfocus "$warn"
    xdotool key --clearmodifiers Escape
    e2e_poll 20 warning_gone "$PX" "$PY" || fail "Escape left the warning open"
    popup_shown && fail "a cancelled warning opened the popup"
    # Confirmed: the popup opens; a press elsewhere on the page (on the status line, which the
    # popup below button 1 does not cover) closes it, choosing nothing.
    click main function-box-1
    e2e_poll 20 warning_shown "$PX" "$PY" || fail "no warning the second time"
    read -r cx cy < <(entry warning confirm "$lang")
    click_at $((PX + cx)) $((PY + cy))
    e2e_poll 20 popup_shown || fail "confirming the warning opened no popup"
    click main status
    e2e_poll 20 popup_gone || fail "a press on the page left the popup open"

    # 4. Apply: the two choices reach the mouse and config.ini; button 1 kept its left click.
    vm clear >/dev/null
    click main apply
    e2e_poll 20 ini_is "Config$slot" K3 34 || fail "K3 is $(ini_value "Config$slot" K3) after Apply"
    [ "$(ini_value "Config$slot" K2)" = 3 ] || fail "K2 is $(ini_value "Config$slot" K2) after Apply"
    [ "$(ini_value "Config$slot" K1)" = 1 ] || fail "K1 lost the left click"
    e2e_poll 20 has_feature '07 10 03 1F 00 00 00 00 00' || fail "Apply did not put button 3 in host mode: $(features)"
    has_feature '07 10 02 03 00 00 00 00 00' || fail "Apply did not map button 2 to function 3: $(features)"
    e2e_close "$name"
    step "$name: popup, submenu, warning and Apply"
done
echo "PASS ($((SECONDS - e2e_started)) s)"
