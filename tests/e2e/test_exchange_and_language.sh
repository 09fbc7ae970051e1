#!/usr/bin/env bash
# End to end: configurations as files and the language at run time, as a user does them.
#   - export through the real save dialog, the path typed into it: the file's Config7 is the
#     configuration the window shows, and its other sections stay;
#   - import through the open dialog: the window shows the file's configuration, config.ini and
#     the mouse get it only at Apply, with the reports its values give;
#   - the language entries switch back and forth: VER_SEL, the title, the painted texts and the
#     macro file the editor saves to.
# Screenshots of both dialogs and of the window after each switch go to
# $HXT_BUILD_DIR/screenshots/exchange-*.png.
# Usage: test_exchange_and_language.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
e2e_screenshots
ini=$work/config.ini
sed -i "s/^VER_SEL=.*/VER_SEL=1\r/" "$ini"
lang=1

shot() {  # NAME [WINDOW]: the window's rectangle
    eval "$(xdotool getwindowgeometry --shell "${2:-$wid}" | sed 's/^/S_/')"
    e2e_shot "exchange-$1" "$S_X" "$S_Y" "$S_WIDTH" "$S_HEIGHT"
}
# The value of KEY in [SECTION] of FILE (written by the program: UTF-16 or plain).
value_in() {  # FILE SECTION KEY
    local text
    if head -c2 "$1" | od -An -tx1 | grep -q 'ff fe'; then text=$(iconv -f UTF-16 -t UTF-8 "$1"); else text=$(cat "$1"); fi
    printf '%s\n' "$text" | tr -d '\r' | awk -F= -v s="[$2]" -v k="$3" '/^\[/ { in_s = ($0 == s); next } in_s && $1 == k { print $2; exit }'
}
KEYS="K1 K2 K3 K4 K5 K6 K7 WHEEL_STATUS MACRO_MODE2 DPI_LEVEL DPI_SET1 DPI_SET2 DPI_SET3 DPI_SET4 DPI_SET_EN1 DPI_SET_EN2 DPI_SET_EN3 DPI_SET_EN4 LED_STATUS DPI_SPEED WHEEL_SPEED FIRE_TIME"
# The configuration of SECTION of FILE as one line "KEY=VALUE ...".
config_of() { local k out=""; for k in $KEYS; do out+="$k=$(value_in "$1" "$2" "$k") "; done; echo "$out"; }

# A file dialog titled TITLE: the path typed into its file name box (which needs a click first:
# without a window manager nothing gives the dialog the keyboard), then Enter.
use_dialog() {  # TITLE PATH SHOT
    local dlg
    dlg=$(e2e_wait_for_window "^$1\$" 20) || fail "no '$1' dialog appeared"
    sleep 0.5
    shot "$3" "$dlg"
    eval "$(xdotool getwindowgeometry --shell "$dlg" | sed 's/^/D_/')"
    click_at $((D_X + D_WIDTH * 56 / 100)) $((D_Y + D_HEIGHT - 56))
    xdotool type --delay 20 "$2"
    xdotool key --clearmodifiers Return
    sleep 1
    # Saving over a file asks first, in a small box (Wine calls it "Error"): its Yes (left) button.
    local box
    for box in $(xdotool search --onlyvisible --name "^($1|Error)\$" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$box" | sed 's/^/B_/')"
        [ "$B_HEIGHT" -lt 200 ] || continue
        shot "$3-overwrite" "$box"
        click_at $((B_X + B_WIDTH / 3)) $((B_Y + B_HEIGHT * 72 / 100))
    done
    dialog_gone() { [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ]; }
    e2e_poll 10 dialog_gone "$1" || { import -window root "$shots/exchange-debug.png"; fail "the '$1' dialog stayed open"; }
}

e2e_start_with_virtual_mouse
slot=$(ini_value Init CurConfig)

# 1. Export into a file that has a section of its own: Config7 is the window's configuration.
printf '[Notes]\r\nkeep=yes\r\n' > "$work/exported.ini"
click main export
use_dialog "Save As" "$(e2e_windows_path "$work/exported.ini")" save-dialog
exported() { [ -n "$(value_in "$work/exported.ini" Config7 FIRE_TIME)" ]; }
e2e_poll 10 exported || fail "nothing was exported"
sleep 0.5
[ "$(config_of "$work/exported.ini" Config7)" = "$(config_of "$ini" "Config$slot")" ] ||
    fail "Config7 differs from slot $slot: $(config_of "$work/exported.ini" Config7)"
[ "$(value_in "$work/exported.ini" Notes keep)" = yes ] || fail "the export lost the file's other section"

# 2. A file that is no exchange file (UTF-16, garbage, huge and negative numbers): the window
#    shows what it can on every page and keeps running.
{
    printf '\xff\xfe'
    printf '[Config7]\r\nK1=99999999999\r\nK2=-7\r\nDPI_LEVEL=-5\r\nDPI_SET1=-9\r\nLED_STATUS=9999\r\n' |
        iconv -f UTF-8 -t UTF-16LE
    printf 'FIRE_TIME=100000\r\n\x01\x02[[garbage\r\n' | iconv -f UTF-8 -t UTF-16LE
} > "$work/bad.ini"
click main import
use_dialog "Open" "$(e2e_windows_path "$work/bad.ini")" open-bad
for tab in tab-advanced tab-colour tab-main; do click main "$tab"; sleep 0.5; done
kill -0 "$pid" 2>/dev/null || fail "the program ended after importing a bad file"
shot bad-import

# 3. Import a file of other values: shown at once, in config.ini and the mouse only at Apply.
{
    printf '[Config7]\r\n'
    printf 'K1=1\r\nK2=3\r\nK3=2\r\nK4=5\r\nK5=4\r\nK6=16\r\nK7=12\r\n'
    printf 'WHEEL_STATUS=1\r\nMACRO_MODE2=0\r\nDPI_LEVEL=2\r\n'
    printf 'DPI_SET1=0\r\nDPI_SET2=1\r\nDPI_SET3=3\r\nDPI_SET4=4\r\n'
    printf 'DPI_SET_EN1=1\r\nDPI_SET_EN2=1\r\nDPI_SET_EN3=1\r\nDPI_SET_EN4=1\r\n'
    printf 'LED_STATUS=2\r\nDPI_SPEED=6\r\nWHEEL_SPEED=3\r\nFIRE_TIME=80\r\n'
} > "$work/imported.ini"
before=$(config_of "$ini" "Config$slot")
click main import
use_dialog "Open" "$(e2e_windows_path "$work/imported.ini")" open-dialog
sleep 1
shot imported
[ "$(config_of "$ini" "Config$slot")" = "$before" ] || fail "the import reached config.ini before Apply"
vmouse clear >/dev/null
click main apply
e2e_poll 10 ini_is "Config$slot" FIRE_TIME 80 || fail "Apply did not save the imported configuration"
[ "$(config_of "$ini" "Config$slot")" = "$(config_of "$work/imported.ini" Config7)" ] ||
    fail "slot $slot is not the imported configuration: $(config_of "$ini" "Config$slot")"
# The reports follow from the file's values: button 2 gets function 3, the wheel turns, stage 2
# (DPI_SET3=3) with LED 2, fire 80 ms in steps of 8.
features | grep -qx '07 10 02 03 00 00 00 00 00' || fail "no mapping of button 2 to function 3: $(features)"
features | grep -qx '07 11 01 00 00 00 00 00 00' || fail "the wheel was not reversed: $(features)"
features | grep -qx "07 09 02 $(printf '%02X' $(((3 + 8) * 16 + 2))) 00 00 00 00 00" || fail "no stage 2 with LED 2: $(features)"
features | grep -qx "07 12 $(printf '%02X' $((80 / 8))) 00 00 00 00 00 00" || fail "no fire interval of 80 ms: $(features)"

# 4. The language entries, back and forth: VER_SEL, the title, the texts and the macro file.
macro_saved_to() {  # FILE OTHER: the repeat mode toggled and saved lands in FILE alone
    cp "$work/$1" "$work/$1.before"
    cp "$work/$2" "$work/$2.before"
    click main tab-advanced
    click advance repeat-mode
    click advance repeat-apply
    changed() { ! cmp -s "$work/$1" "$work/$1.before"; }
    e2e_poll 5 changed "$1" || fail "the macros were not saved to $1"
    cmp -s "$work/$2" "$work/$2.before" || fail "the macros went to $2 too"
    click main tab-main
}
cur_before=$(ini_value Init CurConfig)
# A click on the language entry ENTRY writes VER_SEL, retitles the window and sends the
# editor's saves to the language's macro file, not the other's.
switch_language() {  # ENTRY VER_SEL TITLE MACRO-FILE OTHER-MACRO-FILE
    click main "$1"
    e2e_poll 10 ini_is Init VER_SEL "$2" || fail "a click on the $1 entry did not write VER_SEL=$2"
    sleep 1
    [ "$(xdotool getwindowname "$wid")" = "$3" ] || fail "the title is '$(xdotool getwindowname "$wid")'"
    lang=$2
    shot "$1"
    macro_saved_to "$4" "$5"
}
switch_language chinese 0 "KestrixK-R7T游戏鼠标" Macro_CN.dat Macro_EN.dat
switch_language english 1 "K-R7T GAMING MOUSE" Macro_EN.dat Macro_CN.dat
[ "$(ini_value Init CurConfig)" = "$cur_before" ] || fail "the switch changed the slot"
[ "$(config_of "$ini" "Config$slot")" = "$(config_of "$work/imported.ini" Config7)" ] || fail "the switch changed the configuration"
# The painted texts differ between the two screenshots (the skins' texts of each language).
[ "$(compare -metric AE "$shots/exchange-chinese.png" "$shots/exchange-english.png" null: 2>&1 | cut -d' ' -f1)" -gt 1000 ] ||
    fail "the window looks the same in both languages"

e2e_alt_f4 "$wid"
e2e_wait_for_exit 20 || fail "the program was still running 20 s after Alt+F4"
echo "exchange files and languages: export, import, Apply and two switches as expected"
