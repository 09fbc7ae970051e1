#!/usr/bin/env bash
# End to end: choosing a button's function, in English and then in Chinese. A popup row, a
# submenu row, and the warning that guards the only left click, cancelled with Escape and
# confirmed; the choices reach the mouse and config.ini at Apply. Screenshots of the popup, the
# submenu and the warning in both languages go to $HXT_BUILD_DIR/screenshots/popup-*.png. Clicks
# land on entries of the shipped skin files and on rows computed from the shipped mask pictures.
# The program profiles dialog, opened from the tray menu: a program bound to slot 3 in English
# reaches apps.ini; in Chinese the dialog is cancelled (screenshots profiles-*.png).
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

# The program profiles dialog, opened from the tray menu: the close control hides the window
# into the tray, a right click on the tray's icon opens the menu. Its window in $prof, its place
# and size in $P_X $P_Y $P_WIDTH $P_HEIGHT.
open_program_profiles() {  # TITLE
    click main close
    e2e_poll 30 no_window "^$title\$" || fail "the close control left the window visible"
    open_tray_menu "tray-menu-$name"
    click_tray_row profiles
    wait_for_dialog "$1"
    prof=$dlg P_X=$D_X P_Y=$D_Y P_WIDTH=$D_WIDTH P_HEIGHT=$D_HEIGHT
    # As it was drawn first: what a binding added later is told from.
    cp "$work/dialog.png" "$work/profiles.png"
}
# A point of the dialog in its template's units (300 x 192), as "X Y" on the screen: its client
# area is the window less a thin frame and the caption above.
profiles_point() {  # X Y
    local frame=3 caption client_w client_h
    client_w=$((P_WIDTH - 2 * frame))
    # Dialog units are 1/4 of the font's average width across, 1/8 of its height down; the
    # height of the client area follows from its width by the font's proportions.
    client_h=$((client_w * 192 * PROFILES_UNIT_H / (300 * PROFILES_UNIT_W * 2)))
    caption=$((P_HEIGHT - client_h - 2 * frame))
    echo "$((P_X + frame + $1 * client_w / 300)) $((P_Y + frame + caption + $2 * client_h / 192))"
}
# The dialog font's average character width and height in pixels (Tahoma 8 pt at 96 DPI).
PROFILES_UNIT_W=6
PROFILES_UNIT_H=13
# Back from the tray: a double click on its icon brings the window.
back_from_tray() {
    local tray TRAY_X TRAY_Y TRAY_WIDTH TRAY_HEIGHT
    tray=$(e2e_wait_for_window '^Wine System Tray$' 30) || fail "no tray icon appeared"
    eval "$(xdotool getwindowgeometry --shell "$tray" | sed 's/^/TRAY_/')"
    xdotool mousemove $((TRAY_X + TRAY_HEIGHT / 2)) $((TRAY_Y + TRAY_HEIGHT / 2)) click --repeat 2 --delay 80 1
    wid=$(e2e_wait_for_window "^$title\$" 30) || fail "a double click on the tray icon did not bring the window back"
    e2e_geometry
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
    step "$name: popup, submenu, warning and Apply"

    # 5. Program profiles from the tray menu, in the program's language. In English, Add… binds
    # the program typed into the open dialog, the slot selector puts it on slot 3, and OK writes
    # apps.ini beside config.ini, UTF-16LE with its byte order mark. In Chinese, Cancel writes
    # nothing.
    apps=$work/apps.ini
    rm -f "$apps"
    if [ $language = 1 ]; then
        open_program_profiles "Program profiles"
        e2e_shot "profiles-empty-$name" "$P_X" "$P_Y" "$P_WIDTH" "$P_HEIGHT"
        mkdir -p "$work/games"
        : > "$work/games/game.exe"
        click_at $(profiles_point 37 119)
        use_dialog "Open" "$(e2e_windows_path "$work/games/game.exe")" profiles-open
        # The list shows the binding, selected; the slot selector has its slot.
        bound() {
            ! no_window '^Program profiles$' &&
                grab "$work/profiles-bound.png" "$P_X" "$P_Y" "$P_WIDTH" "$P_HEIGHT" &&
                at_least "$(difference "$work/profiles.png" "$work/profiles-bound.png")" 0.005
        }
        e2e_poll 20 bound || fail "the dialog shows no binding after Add…"
        # The slot selector opened: its list drops below its box (the font's height and 8 px),
        # a row the font's height; the third row clicked.
        read -r sx sy < <(profiles_point 91 133)
        grab "$work/slots-before.png" "$((sx - 30))" "$((sy + 20))" 60 80
        click_at "$sx" "$((sy + 8))"
        e2e_poll 20 region_changed "$work/slots-before.png" 0.1 "$((sx - 30))" "$((sy + 20))" 60 80 ||
            fail "the slot selector did not open"
        e2e_shot "profiles-slots-$name" "$P_X" "$P_Y" "$P_WIDTH" "$P_HEIGHT"
        grab "$work/profiles-bound.png" "$P_X" "$P_Y" "$P_WIDTH" "$P_HEIGHT"
        click_at "$sx" "$((sy + PROFILES_UNIT_H + 8 + 5 * PROFILES_UNIT_H / 2))"
        e2e_poll 20 region_changed "$work/profiles-bound.png" 0.005 "$P_X" "$P_Y" "$P_WIDTH" "$P_HEIGHT" ||
            fail "choosing slot 3 changed nothing in the dialog"
        e2e_shot "profiles-$name" "$P_X" "$P_Y" "$P_WIDTH" "$P_HEIGHT"
        click_at $(profiles_point 212 178)
        e2e_poll 20 no_window '^Program profiles$' || fail "OK left the dialog open"
        apps_written() { [ -f "$apps" ]; }
        e2e_poll 20 apps_written || fail "OK wrote no $apps"
        [ "$(head -c2 "$apps" | od -An -tx1)" = " ff fe" ] || fail "apps.ini is not UTF-16LE with its byte order mark"
        expected="$(e2e_windows_path "$work/games/game.exe")=3"
        [ "$(value_in "$apps" Options On)" = 1 ] || fail "apps.ini lacks On=1: $(ini_text "$apps")"
        ini_text "$apps" | awk '/^\[/ { s = $0; next } s == "[Apps]"' | grep -qxF "$expected" ||
            fail "apps.ini does not bind $expected: $(ini_text "$apps")"
    else
        open_program_profiles "程序配置"
        e2e_shot "profiles-$name" "$P_X" "$P_Y" "$P_WIDTH" "$P_HEIGHT"
        click_at $(profiles_point 268 178)
        e2e_poll 20 no_window '^程序配置$' || fail "Cancel left the dialog open"
        e2e_holds 1 [ ! -e "$apps" ] || fail "Cancel wrote $apps"
    fi
    back_from_tray
    step "$name: program profiles"
    e2e_close "$name"
done
echo "PASS ($((SECONDS - e2e_started)) s)"
