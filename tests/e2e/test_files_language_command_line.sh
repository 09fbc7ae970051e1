#!/usr/bin/env bash
# End to end: the program as a user unpacks it, driven by its command line, its file dialogs and
# its language entries, all in one run of the copy started from the zip.
#   - the zip the build leaves for Windows holds exactly the folder beside it (the exe, config.ini
#     as delivered, both macro files and the skins);
#   - started from the unpacked folder with --slot and no copy running, it starts the resident copy
#     in the tray, which comes up without any message, downloads the current slot into the mouse
#     and then carries out the --slot, and returns with the outcome;
#   - against the running copy, --slot, --export and --import (relative files) are carried out by
#     it: the mouse receives the slot's reports, config.ini and the exported file hold the
#     expected values; each start prints one line and exits 0, or 1 with the reason, or 2 for a
#     bad command line that never reaches the copy; a copy that does not answer gives 1; a
#     --slot while the copy shows a message box is carried out under the box and reported done;
#   - export through the real save dialog: the file's Config7 is the configuration the window
#     shows, and its other sections stay; a file that is no exchange file imports without harm;
#     import through the open dialog: the window shows the file's configuration, config.ini and
#     the mouse get it only at Apply, with the reports its values give;
#   - the language entries switch back and forth: VER_SEL, the title, the painted texts and the
#     macro file the editor saves to;
#   - a start without options brings the copy hidden in the tray back; --quit ends it (status 0,
#     the exit command last), and a second --quit finds none (status 1).
# Screenshots of the dialogs and of the window after each switch go to
# $HXT_BUILD_DIR/screenshots/exchange-*.png.
# Usage: test_files_language_command_line.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR,
# HXT_BUILD_DIR, HXT_DIST_DIR)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

# ------------------------------------------------------------------------------------------------
# 1. The zip unpacks into one folder, the same as the one beside it, with all the program needs.
dist=${HXT_DIST_DIR:-$build/dist}
zip=$dist/HXT_GMouse.zip
[ -f "$zip" ] || fail "no $zip: the build did not make it"
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
[ "$(ls -A "$work/unpacked")" = HXT_GMouse ] || fail "the zip does not hold just the folder HXT_GMouse: $(ls -A "$work/unpacked")"
app=$work/unpacked/HXT_GMouse
diff -r "$dist/HXT_GMouse" "$app" >/dev/null || fail "the zip differs from $dist/HXT_GMouse"
for f in HXT_GMouse.exe config.ini Macro_EN.dat Macro_CN.dat skins/INI_EN skins/INI_CN; do
    [ -e "$app/$f" ] || fail "the folder lacks $f"
done
for f in config.ini Macro_EN.dat Macro_CN.dat; do
    cmp -s "$src/data/$f" "$app/$f" || fail "$f is not the delivered one"
done
cmp -s "${HXT_RELEASE_EXE:-$build/release/HXT_GMouse.exe}" "$app/HXT_GMouse.exe" || fail "the exe in the folder is not the release one built"
# What follows drives the virtual mouse: the test build's exe stands in for the shipped one.
cp "$exe" "$app/HXT_GMouse.exe" || fail "cannot put the test build's exe into the folder"
ini=$app/config.ini
delivered=$src/data/config.ini
e2e_set_title "$ini"
[ "$lang" = 1 ] || fail "the delivered configuration is not in English"
slot=$(ini_value Init CurConfig)
[ "$slot" = 1 ] || fail "the delivered configuration is not in slot 1"
step "the zip holds the folder"

# A start in the program's folder (so relative files are its own), waited for at most 90 s: its
# exit status in $rc, its standard output in $out.
second() {
    (cd "$app" && timeout 90 "$wine_run" ./HXT_GMouse.exe "$@" > "$work/second.out" 2> "$work/second.err")
    rc=$?
    out=$(tr -d '\r' < "$work/second.out")
}
expect() {  # STATUS LINE WHAT
    [ "$rc" -eq "$1" ] || fail "$3: status $rc, not $1; it printed: $out"
    [ "$out" = "$2" ] || fail "$3 printed '$out', not '$2'"
}
# The virtual mouse's reports are exactly those of FILE's slot SLOT.
reports_are() {  # FILE SLOT WHAT
    reports_of "$1" "$2" > "$work/expected"
    reports_match() { features > "$work/got"; cmp -s "$work/got" "$work/expected"; }
    e2e_poll 20 reports_match || { diff "$work/got" "$work/expected" >&2; fail "$3: the mouse did not receive exactly the reports it should"; }
}
# An exchange file of values unlike any delivered slot.
{
    printf '[Config7]\r\n'
    printf 'K1=1\r\nK2=2\r\nK3=3\r\nK4=5\r\nK5=4\r\nK6=22\r\nK7=17\r\n'
    printf 'DPI_LEVEL=3\r\nWHEEL_STATUS=1\r\nMACRO_MODE2=0\r\n'
    printf 'DPI_SET1=2\r\nDPI_SET_EN1=1\r\nDPI_SET2=4\r\nDPI_SET_EN2=1\r\nDPI_SET3=0\r\nDPI_SET_EN3=1\r\nDPI_SET4=1\r\nDPI_SET_EN4=1\r\n'
    printf 'LED_STATUS=1\r\nDPI_SPEED=4\r\nWHEEL_SPEED=2\r\nFIRE_TIME=200\r\n'
} > "$app/import me.ini"

# ------------------------------------------------------------------------------------------------
# 2. No copy runs: the start from the folder starts the resident copy in the tray as a process of
# its own and hands it the --slot 3 (a script's `start /wait` returns); the copy comes up without
# a message (a missing file is told in one), downloads slot 1, then slot 3, and stays.
{ reports_of "$ini" 1; reports_of "$ini" 3; } > "$work/expected-start"
port=$(e2e_free_port)
log=$work/features.log
second "--virtual-mouse=$port" "--virtual-mouse-log=$(e2e_windows_path "$log")" --slot 3
expect 0 "Slot 3 is the current configuration and applied." "the first start with --slot 3"
start_reports() { features > "$work/got"; cmp -s "$work/got" "$work/expected-start"; }
e2e_poll 20 start_reports || { diff "$work/got" "$work/expected-start" >&2; fail "start-up then slot 3 did not reach the mouse"; }
ini_is Init CurConfig 3 || fail "CurConfig is $(ini_value Init CurConfig) after --slot 3, not 3"
no_window "^$title\$" || fail "the copy the command started did not stay in the tray"
no_window '^HXT_GMouse$' || fail "a message box came up at start-up"
pid=$(pgrep -f 'HXT_GMouse.exe --tray') || fail "no copy in the tray runs after the first start"
second
e2e_wait_for_main_window
step "started from the zip's folder, slot 3 applied"

# ------------------------------------------------------------------------------------------------
# 3. The running copy carries out what later starts ask.
vm clear > /dev/null
second --slot 2
expect 0 "Slot 2 is the current configuration and applied." "--slot 2"
reports_are "$ini" 2 "--slot 2"
ini_is Init CurConfig 2 || fail "CurConfig is $(ini_value Init CurConfig) after --slot 2, not 2"
slot=2

# A bad command line ends with 2 and never reaches the copy: there is nothing to wait for, so the
# mouse is watched for a second.
vm clear > /dev/null
second --slot 4 --bogus
[ "$rc" -eq 2 ] || fail "a bad option with a copy running gave status $rc"
e2e_holds 1 no_features || fail "a bad command line still reached the running copy"

wpath=$(e2e_windows_path "$app")
second --export "out dir/../exported.ini"
expect 0 "Exported the configuration to $wpath\\exported.ini." "--export"
[ "$(config_of "$app/exported.ini" Config7)" = "$(config_of "$delivered" Config2)" ] ||
    fail "the exported Config7 is not slot 2's configuration: $(config_of "$app/exported.ini" Config7)"
second --export "no such folder/x.ini"
expect 1 "Cannot write the configuration to $wpath\\no such folder\\x.ini." "--export into a missing folder"

vm clear > /dev/null
second --import "import me.ini"
expect 0 "Imported $wpath\\import me.ini into the current slot and applied it." "--import"
reports_are "$app/import me.ini" 7 "--import"
[ "$(config_of "$ini" Config2)" = "$(config_of "$app/import me.ini" Config7)" ] ||
    fail "config.ini's Config2 does not hold the imported values: $(config_of "$ini" Config2)"
ini_is Init CurConfig 2 || fail "--import changed CurConfig to $(ini_value Init CurConfig)"
second --import missing.ini
expect 1 "Cannot import $wpath\\missing.ini: the file does not exist." "--import of a missing file"

# A copy that does not answer (stopped): status 1 and the reason.
kill -STOP "$pid"
second --slot 1
kill -CONT "$pid"
expect 1 "The program runs, but its window does not answer." "--slot to a stopped copy"
step "the command line against the running copy"

# A command while the copy shows a message box (the name of a missing file typed into the Import
# dialog): the box's loop takes the request, the copy carries it out under the box, and the start
# reports it done.
e2e_geometry
click main import
use_dialog "Open" "$(e2e_windows_path "$work/missing.ini")" exchange-open-missing
e2e_wait_for_window '^HXT_GMouse$' 30 >/dev/null || fail "no message about the missing file"
vm clear > /dev/null
second --slot 4
expect 0 "Slot 4 is the current configuration and applied." "--slot under a message box"
reports_are "$ini" 4 "--slot under a message box"
ini_is Init CurConfig 4 || fail "CurConfig is $(ini_value Init CurConfig) after --slot 4, not 4"
[ "$(window_count '^HXT_GMouse$')" -eq 1 ] || fail "the message box was not open through the --slot"
answer_message_with_ok "the missing file"
slot=4
step "a command under a message box"

# ------------------------------------------------------------------------------------------------
# 4. Export through the save dialog into a file that has a section of its own: Config7 is the
# window's configuration.
shot() {  # NAME [WINDOW]: the window's rectangle
    local S_X S_Y S_WIDTH S_HEIGHT
    eval "$(xdotool getwindowgeometry --shell "${2:-$wid}" | sed 's/^/S_/')"
    e2e_shot "exchange-$1" "$S_X" "$S_Y" "$S_WIDTH" "$S_HEIGHT"
}
e2e_geometry
printf '[Notes]\r\nkeep=yes\r\n' > "$work/exported.ini"
click main export
use_dialog "Save As" "$(e2e_windows_path "$work/exported.ini")" exchange-save-dialog
exported() { [ -n "$(value_in "$work/exported.ini" Config7 FIRE_TIME)" ]; }
e2e_poll 20 exported || fail "nothing was exported"
[ "$(config_of "$work/exported.ini" Config7)" = "$(config_of "$ini" "Config$slot")" ] ||
    fail "Config7 differs from slot $slot: $(config_of "$work/exported.ini" Config7)"
[ "$(value_in "$work/exported.ini" Notes keep)" = yes ] || fail "the export lost the file's other section"
step "exported through the save dialog"

# 5. A file that is no exchange file (UTF-16, garbage, huge and negative numbers): the window
# shows what it can on every page and keeps running.
{
    printf '\xff\xfe'
    printf '[Config7]\r\nK1=99999999999\r\nK2=-7\r\nDPI_LEVEL=-5\r\nDPI_SET1=-9\r\nLED_STATUS=9999\r\n' |
        iconv -f UTF-8 -t UTF-16LE
    printf 'FIRE_TIME=100000\r\n\x01\x02[[garbage\r\n' | iconv -f UTF-8 -t UTF-16LE
} > "$work/bad.ini"
click main import
use_dialog "Open" "$(e2e_windows_path "$work/bad.ini")" exchange-open-bad
for tab in tab-advanced tab-colour tab-main; do click_page main "$tab"; done
kill -0 "$pid" 2>/dev/null || fail "the program ended after importing a bad file"
shot bad-import
step "a bad file imported without harm"

# 6. Import a file of other values: shown at once (the window changes), in config.ini and the
# mouse only at Apply.
{
    printf '[Config7]\r\n'
    printf 'K1=1\r\nK2=3\r\nK3=2\r\nK4=5\r\nK5=4\r\nK6=16\r\nK7=12\r\n'
    printf 'WHEEL_STATUS=1\r\nMACRO_MODE2=0\r\nDPI_LEVEL=2\r\n'
    printf 'DPI_SET1=0\r\nDPI_SET2=1\r\nDPI_SET3=3\r\nDPI_SET4=4\r\n'
    printf 'DPI_SET_EN1=1\r\nDPI_SET_EN2=1\r\nDPI_SET_EN3=1\r\nDPI_SET_EN4=1\r\n'
    printf 'LED_STATUS=2\r\nDPI_SPEED=6\r\nWHEEL_SPEED=3\r\nFIRE_TIME=80\r\n'
} > "$work/imported.ini"
before=$(config_of "$ini" "Config$slot")
rest_pointer
grab "$work/before-import.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
click main import
use_dialog "Open" "$(e2e_windows_path "$work/imported.ini")" exchange-open-dialog
rest_pointer
e2e_poll 30 window_changed "$work/before-import.png" 0.005 || fail "the window does not show the imported configuration"
shot imported
step "imported through the open dialog"
[ "$(config_of "$ini" "Config$slot")" = "$before" ] || fail "the import reached config.ini before Apply"
vm clear >/dev/null
click main apply
e2e_poll 20 ini_is "Config$slot" FIRE_TIME 80 || fail "Apply did not save the imported configuration"
[ "$(config_of "$ini" "Config$slot")" = "$(config_of "$work/imported.ini" Config7)" ] ||
    fail "slot $slot is not the imported configuration: $(config_of "$ini" "Config$slot")"
# The reports follow from the file's values: button 2 gets function 3, the wheel turns, stage 2
# (DPI_SET3=3) with LED 2, fire 80 ms in steps of 8 (the last report of an apply).
fire_sent() { has_feature "07 12 $(printf '%02X' $((80 / 8))) 00 00 00 00 00 00"; }
e2e_poll 20 fire_sent || fail "no fire interval of 80 ms: $(features)"
has_feature '07 10 02 03 00 00 00 00 00' || fail "no mapping of button 2 to function 3: $(features)"
has_feature '07 11 01 00 00 00 00 00 00' || fail "the wheel was not reversed: $(features)"
has_feature "07 09 02 $(printf '%02X' $(((3 + 8) * 16 + 2))) 00 00 00 00 00" || fail "no stage 2 with LED 2: $(features)"
step "export and import through the dialogs"

# ------------------------------------------------------------------------------------------------
# 7. The language entries, back and forth: VER_SEL, the title, the texts and the macro file.
macro_saved_to() {  # FILE OTHER: the repeat mode toggled and saved lands in FILE alone
    cp "$app/$1" "$work/$1.before"
    cp "$app/$2" "$work/$2.before"
    click_page main tab-advanced
    click advance repeat-mode
    click advance repeat-apply
    changed() { ! cmp -s "$app/$1" "$work/$1.before"; }
    e2e_poll 20 changed "$1" || fail "the macros were not saved to $1"
    cmp -s "$app/$2" "$work/$2.before" || fail "the macros went to $2 too"
    click_page main tab-main
}
cur_before=$(ini_value Init CurConfig)
# A click on the language entry ENTRY writes VER_SEL, retitles the window and sends the
# editor's saves to the language's macro file, not the other's.
switch_language() {  # ENTRY VER_SEL TITLE MACRO-FILE OTHER-MACRO-FILE
    click main "$1"
    e2e_poll 20 ini_is Init VER_SEL "$2" || fail "a click on the $1 entry did not write VER_SEL=$2"
    titled() { [ "$(xdotool getwindowname "$wid")" = "$1" ]; }
    e2e_poll 20 titled "$3" || fail "the title is '$(xdotool getwindowname "$wid")'"
    lang=$2
    rest_pointer
    e2e_poll 30 window_changed "$work/before-switch.png" 0.002 || fail "the window looks the same after the $1 entry"
    shot "$1"
    macro_saved_to "$4" "$5"
    grab "$work/before-switch.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
}
rest_pointer
grab "$work/before-switch.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
switch_language chinese 0 "$title_cn" Macro_CN.dat Macro_EN.dat
switch_language english 1 "$title_en" Macro_EN.dat Macro_CN.dat
[ "$(ini_value Init CurConfig)" = "$cur_before" ] || fail "the switch changed the slot"
[ "$(config_of "$ini" "Config$slot")" = "$(config_of "$work/imported.ini" Config7)" ] || fail "the switch changed the configuration"
# The painted texts differ between the two screenshots (the skins' texts of each language).
[ "$(compare -metric AE "$shots/exchange-chinese.png" "$shots/exchange-english.png" null: 2>&1 | cut -d' ' -f1)" -gt 1000 ] ||
    fail "the window looks the same in both languages"
step "two language switches"

# ------------------------------------------------------------------------------------------------
# 8. The close control hides the copy in the tray; a start without options brings it back.
click main close
e2e_poll 30 no_window "^$title\$" || fail "the close control did not hide the window"
second
[ "$rc" -eq 0 ] || fail "a start without options gave status $rc: $out"
e2e_wait_for_window "^$title\$" 30 >/dev/null || fail "a start without options did not bring the window back from the tray"
kill -0 "$pid" 2>/dev/null || fail "the first copy ended"
wid=$(e2e_wait_for_window "^$title\$" 5) || fail "the window went again"

# 9. --quit ends the copy as the tray's Exit does: the exit command is the mouse's last report.
# A second --quit finds no copy: status 1.
second --quit
expect 0 "The running copy of the program ended." "--quit"
copy_gone() { ! kill -0 "$pid" 2>/dev/null; }
e2e_poll 30 copy_gone || fail "the copy still ran after --quit"
pid=""
[ "$(tail -n 1 "$log" | tr -d '\r')" = "07 20 00 00 00 00 00 00 00" ] || fail "the last report was not the exit command: $(tail -n 2 "$log")"
second --quit
expect 1 "No copy of the program runs." "--quit with no copy running"
step "--quit"
echo "PASS ($((SECONDS - e2e_started)) s)"
