#!/usr/bin/env bash
# End to end: macros recorded and played, into a key logger window of our own.
#   1. The macro editor on the advanced page, in English and then in Chinese: a new macro is
#      named and added, a hidden sequence of typed keys is recorded (under the program's keyboard
#      capture) and stopped, and the repeat-count entry saves it: the language's macro file then
#      holds exactly those keys, presses and releases, with the last delay 30 ms; the event
#      list's context menu opens on a delay line, "Modify Delay" opens the in-place editor, and
#      the typed delay is in the file after the next save. In English the macro is then bound to
#      button 4 through the function popup's macro group, applied, and played.
#   2. Buttons in host mode, from a configuration and macro file of the test's own: the start
#      key's press switches host actions on and plays nothing; a macro of keys arrives in order
#      with its virtual keys, scan codes and extended bits; a macro of mouse buttons with a
#      repeat count arrives that many times; a second press stops a long repeating macro; the
#      switch button makes the mouse receive the next slot's reports and records that slot as
#      CurConfig, from slot 4 to 5 and from 5 around to 1.
#   3. Alt+F4 while a macro waits in a minute's pause ends the program within seconds, the exit
#      command last; an unplug in such a pause ends it as quickly, with nothing sent.
# Screenshots: $HXT_BUILD_DIR/screenshots/macro-*.png; the time from each recorded key to its
# event line: $HXT_BUILD_DIR/record-latency.log.
# Usage: test_macros.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
ini=$work/config.ini
export HXT_RECORD_LOG
HXT_RECORD_LOG=$(e2e_windows_path "$work/record.log")
show_keys_log() {
    if [ -f "${keys_log:-}" ]; then
        echo "--- key logger's log (last 40 lines):"
        tail -n 40 "$keys_log"
    fi
}
e2e_on_fail=show_keys_log

# The key logger, bottom left, below the program's window; it stays for the whole
# scenario.
logger_start 20 700 220 200
step "key logger up"

# ------------------------------------------------------------------------------------------------
# 1. The macro editor.

record() { macro_record "$macro_file" "$@"; }
macro_count_is() { [ "$(record macroNum)" = "$1" ]; }
record_lines() { cat "$work/record.log" 2>/dev/null | wc -l; }
record_lines_at_least() { [ "$(record_lines)" -ge "$1" ]; }
# The record control shows red while it records.
recording() {
    local rx ry rw rh
    read -r rx ry rw rh < <(entry_rect advance record "$lang")
    grab "$work/record.png" $((X + rx)) $((Y + ry)) "$rw" "$rh" &&
        at_least "$(convert "$work/record.png" -format '%[fx:mean.r - mean.g]' info:)" 0.15
}
not_recording() { ! recording; }

# A hidden sequence: five letters drawn now, so no run can know them in advance.
letters=$(python3 -c 'import random, string; print("".join(random.choice(string.ascii_lowercase) for _ in range(5)))')
expected_keys() {  # the recorded events without their delays: press, release per letter
    local c vk out=""
    for c in $(echo "$letters" | fold -w1); do
        vk=$(printf '%d' "'${c^^}")
        out+="$vk,1 $vk,2 "
    done
    echo "${out% }"
}
menu_sizes

for language in 1 0; do
    name=$([ $language = 1 ] && echo en || echo cn)
    macro_file=$work/Macro_${name^^}.dat
    e2e_language $language
    e2e_start_with_virtual_mouse
    before=$(record macroNum)
    [ -n "$before" ] || fail "the shipped $macro_file has no macroNum"

    # 1a. Name and add a macro: the name box shows the selected macro's name; replace it.
    click_page main tab-advanced
    click advance macro-name EDIT
    xdotool key --clearmodifiers End $(printf 'BackSpace %.0s' $(seq 30))
    xdotool type --delay 20 "Rec$name"
    click advance macro-add

    # 1b. Record the hidden keys, each pressed and released, then stop. Each key's two events
    # show in the event list before the next key.
    click advance record
    e2e_poll 30 recording || fail "the record control does not show the recording"
    for c in $(echo "$letters" | fold -w1); do
        lines=$(record_lines)
        xdotool key --delay 120 "$c"
        e2e_poll 30 record_lines_at_least $((lines + 2)) || fail "the key $c did not show in the event list"
    done
    e2e_shot "macro-recording-$name" "$X" "$Y" "$WIDTH" "$HEIGHT"
    click advance record
    e2e_poll 30 not_recording || fail "the record control still records after the second click"

    # 1c. The repeat-count entry saves: the file holds the new macro, byte for byte as typed.
    click advance repeat-apply
    e2e_poll 30 macro_count_is $((before + 1)) || fail "the save did not add macro $before to $macro_file"
    IFS='|' read -r got_name got_count got_events < <(record "$before")
    [ "$got_name" = "Rec$name" ] || fail "the new macro is named '$got_name'"
    [ "$got_count" = 10 ] || fail "the macro holds $got_count events, not 10: $got_events"
    keys=$(echo "$got_events" | sed -E 's/,[0-9]+( |$)/\1/g')
    [ "$keys" = "$(expected_keys)" ] || fail "recorded '$keys' for '$letters'"
    [ "${got_events##*,}" = 30 ] || fail "the last delay is ${got_events##*,} ms, not 30"
    e2e_shot "macro-page-$name" "$X" "$Y" "$WIDTH" "$HEIGHT"

    # 1d. The context menu on line 1 (the delay after the first press), "Modify Delay", 123 ms.
    read -r lx ly lw lh < <(entry_rect advance event-list "$lang" MACRODISPLAY)
    # The list shows its last line; Home scrolls back to the first and selects it. The height of
    # the selection bar is the height of a line, which the language's font decides: the selected
    # line, in the list's left margin, ends where the black of the list begins.
    click_at $((X + lx + 20)) $((Y + ly + 4))
    xdotool key --clearmodifiers Home
    first_line_selected() {
        grab "$work/margin.png" $((X + lx + 2)) $((Y + ly)) 1 "$lh" || return 1
        line_h=$(convert "$work/margin.png" txt:- | awk 'NR > 1 && $3 == "#000000" { print NR - 2; exit }')
        [ -n "$line_h" ] && [ "$line_h" -ge 8 ] && [ "$line_h" -lt "$lh" ]
    }
    e2e_poll 30 first_line_selected || fail "no selected first line in the event list"
    mx=$((X + lx + 20)); my=$((Y + ly + line_h + line_h / 2))
    grab "$work/before-menu.png" "$mx" "$my" 200 100
    click_at "$mx" "$my" 3
    # The menu opens at the cursor: Add Forward, Add Backward, Modify Delay, Delete, 20 px each.
    e2e_poll 30 region_changed "$work/before-menu.png" 0.2 "$mx" "$my" 200 100 || fail "no context menu on the event list"
    e2e_shot "macro-menu-$name" "$mx" "$my" 200 100
    grab "$work/menu.png" $((X + lx)) $((Y + ly)) "$lw" 60
    click_at $((mx + 30)) $((my + 2 * 20 + 12))
    e2e_poll 30 region_changed "$work/menu.png" 0.05 $((X + lx)) $((Y + ly)) "$lw" 60 || fail "the menu stayed"
    e2e_shot "macro-delay-editor-$name" $((X + lx)) $((Y + ly)) "$lw" 60
    xdotool type --delay 20 "123"
    xdotool key --clearmodifiers Return
    click advance repeat-apply
    delay_is() { IFS='|' read -r _ _ got_events < <(record "$before"); [ "$(echo "$got_events" | cut -d' ' -f1 | cut -d, -f3)" = 123 ]; }
    e2e_poll 30 delay_is || fail "the first delay is not 123 after the edit: $got_events"

    if [ $language = 1 ]; then
        # 1e. Bind the macro to button 4 through the popup's macro group, apply, play it.
        click_page main tab-main
        popup_origin function-box-4
        click main function-box-4
        e2e_poll 20 popup_shown || fail "no popup opened for button 4"
        grab "$work/group-before.png" $((PX + MENU_W)) "$PY" "$SUB_W" $((10 * MENU_H))
        xdotool mousemove $((PX + MENU_W / 2)) $((PY + 8 * MENU_H + MENU_H / 2))
        e2e_poll 20 region_changed "$work/group-before.png" 0.05 $((PX + MENU_W)) "$PY" "$SUB_W" $((10 * MENU_H)) ||
            fail "the macro group did not open"
        # The macro group ends level with its row (row 9): it starts 9 - count rows down.
        click_at $((PX + MENU_W + SUB_W / 2)) $((PY + (9 - (before + 1)) * MENU_H + before * SUB_H + SUB_H / 2))
        e2e_poll 20 popup_gone || fail "the popup stayed after the macro was chosen"
        click main apply
        slot=$(ini_value Init CurConfig)
        e2e_poll 30 ini_is "Config$slot" K4 $((41 + before)) || fail "button 4 holds $(ini_value "Config$slot" K4), not macro $before"

        # Button 4 is now the first in host mode: the start key, then the macro.
        focus_logger
        from=$(($(log_lines) + 1))
        vm_click 4
        vm_click 4
        e2e_poll 30 events_at_least "$from" 10 || fail "the macro did not play into the key logger"
        got=$(events_since "$from" | grep -E '^KEY(DOWN|UP) ' | sed -E 's/^KEYDOWN vk=(..).*/\1,1/; s/^KEYUP vk=(..).*/\1,2/' |
              while IFS=, read -r hex action; do printf '%d,%s ' "0x$hex" "$action"; done)
        [ "${got% }" = "$(expected_keys)" ] || fail "the key logger received '${got% }' for '$letters'"
        # Wine keeps the logger in front until a click on the program's window makes it active.
        click main status

        # 1e. A macro added and not saved: the exit asks first, and Yes saves it.
        click_page main tab-advanced
        click advance macro-name EDIT
        xdotool key --clearmodifiers End $(printf 'BackSpace %.0s' $(seq 30))
        xdotool type --delay 20 "Unsaved"
        click advance macro-add
        e2e_alt_f4 "$wid"
        box=$(e2e_wait_for_window '^HXT_GMouse$' 30) || fail "the exit did not ask about the unsaved macro"
        xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
        xdotool key --clearmodifiers y
        e2e_wait_for_exit 30 || fail "the program was still running 30 s after Yes to saving the macros"
        macro_count_is $((before + 2)) || fail "Yes did not save the unsaved macro ($(record macroNum) macros)"
    else
        e2e_close "$name"
    fi
    step "$name: macro recorded, edited and saved"
    cp "$src/data/config.ini" "$ini"
done
if [ -f "$work/record.log" ]; then
    cp "$work/record.log" "$build/record-latency.log"
    sort -n -k4 "$work/record.log" | awk '{ ms[NR] = $4 } END { printf "key to event line: %d keys, median %d ms, max %d ms\n", NR, ms[int((NR + 1) / 2)], ms[NR] }'
fi

# ------------------------------------------------------------------------------------------------
# 2. Host-mode macros and slot switches, from data of the test's own.
cat > "$work/helper.py" <<'PYTHON'
import sys

from make_default_macros import macro_file as encode_macro_file  # the encoder of the shipped files
from mouse_reports import section_lines, slot_reports

# Slots 4 and 5 bind host functions; slot 1 binds only the pause macro. DPI, LED, wheel and fire
# differ per slot so that each slot's reports are its own.
SLOTS = {
    # Button 4 is the start key and plays macro 3, the pause.
    1: dict(K=[1, 2, 3, 44, 4, 16, 25], DPI_LEVEL=3, WHEEL_STATUS=0, LED_STATUS=3, FIRE_TIME=7,
            DPI_SET=[0, 1, 2, 4], DPI_SET_EN=[1, 1, 1, 1]),
    # Button 4 is the start key and plays macro 0, 5 switches, 6 plays macro 2.
    4: dict(K=[1, 2, 3, 41, 40, 43, 22], DPI_LEVEL=1, WHEEL_STATUS=1, LED_STATUS=2, FIRE_TIME=50,
            DPI_SET=[1, 3, 2, 4], DPI_SET_EN=[1, 1, 0, 1]),
    # Button 6 is the start key and plays macro 1, 7 switches.
    5: dict(K=[1, 2, 3, 5, 4, 42, 40], DPI_LEVEL=2, WHEEL_STATUS=0, LED_STATUS=1, FIRE_TIME=300,
            DPI_SET=[4, 0, 2, 1], DPI_SET_EN=[1, 0, 1, 1]),
}

VK_LSHIFT, VK_RCONTROL, VK_RIGHT, VK_DELETE, VK_F5 = 0xA0, 0xA3, 0x27, 0x2E, 0x74
LEFT, RIGHT, MIDDLE = 240, 241, 242
PRESS, RELEASE = 1, 2
LONG_PASSES = 40

MACROS = [
    # Shift+H, I, 1, two extended keys, F5 and the right Ctrl (extended, reported as Ctrl).
    ("Keys", 0, 1, [(VK_LSHIFT, PRESS, 10), (ord("H"), PRESS, 20), (ord("H"), RELEASE, 10),
                    (VK_LSHIFT, RELEASE, 20), (ord("I"), PRESS, 15), (ord("I"), RELEASE, 15),
                    (ord("1"), PRESS, 15), (ord("1"), RELEASE, 15),
                    (VK_RIGHT, PRESS, 15), (VK_RIGHT, RELEASE, 15),
                    (VK_DELETE, PRESS, 15), (VK_DELETE, RELEASE, 15),
                    (VK_F5, PRESS, 15), (VK_F5, RELEASE, 15),
                    (VK_RCONTROL, PRESS, 15), (VK_RCONTROL, RELEASE, 15)]),
    # Three mouse buttons and a Z to end each pass, played twice.
    ("Clicks", 1, 2, [(LEFT, PRESS, 20), (LEFT, RELEASE, 40), (RIGHT, PRESS, 20), (RIGHT, RELEASE, 40),
                      (MIDDLE, PRESS, 20), (MIDDLE, RELEASE, 40),
                      (ord("Z"), PRESS, 15), (ord("Z"), RELEASE, 60)]),
    # A long one to stop: X, then a pause long enough for the stop to land in it.
    ("Long", 1, LONG_PASSES, [(ord("X"), PRESS, 0), (ord("X"), RELEASE, 200)]),
    # X down, a minute's pause, X up: the program is closed or unplugged in the pause.
    ("Pause", 0, 1, [(ord("X"), PRESS, 60000), (ord("X"), RELEASE, 0)]),
]

# The log lines each key or button event gives in the logger, on a US keyboard: the window is
# told the generic Shift and Ctrl, and the scan codes of set 1.
KEY_LINES = {
    VK_LSHIFT: ("10", "2A", 0), ord("H"): ("48", "23", 0), ord("I"): ("49", "17", 0),
    ord("1"): ("31", "02", 0), VK_RIGHT: ("27", "4D", 1), VK_DELETE: ("2E", "53", 1),
    VK_F5: ("74", "3F", 0), VK_RCONTROL: ("11", "1D", 1), ord("Z"): ("5A", "2C", 0),
    ord("X"): ("58", "2D", 0),
}
BUTTON_LINES = {LEFT: "LBUTTON", RIGHT: "RBUTTON", MIDDLE: "MBUTTON"}


def config_ini(current):
    lines = ["[Init]", f"CurConfig={current}", "VER_SEL=1"]
    for n, slot in sorted(SLOTS.items()):
        lines += section_lines(f"Config{n}", slot)
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def macro_lines(m):
    name, mode, count, events = MACROS[m]
    passes = count if mode else 1
    out = []
    for _ in range(passes):
        for key, action, _delay in events:
            if key in BUTTON_LINES:
                out.append(BUTTON_LINES[key] + ("DOWN" if action == PRESS else "UP"))
            else:
                vk, scan, ext = KEY_LINES[key]
                out.append(f"{'KEYDOWN' if action == PRESS else 'KEYUP'} vk={vk} scan={scan} ext={ext}")
    return out


command = sys.argv[1]
if command == "config":
    sys.stdout.buffer.write(config_ini(int(sys.argv[2])))
elif command == "macros":
    sys.stdout.buffer.write(encode_macro_file(MACROS))
elif command == "reports":
    print("\n".join(slot_reports(SLOTS[int(sys.argv[2])])))
elif command == "macro-lines":
    print("\n".join(macro_lines(int(sys.argv[2]))))
elif command == "long-passes":
    print(LONG_PASSES)
else:
    sys.exit(f"unknown command {command}")
PYTHON
helper() { e2e_python "$work/helper.py" "$@"; }
helper config 4 > "$ini" || fail "cannot write config.ini"
helper macros > "$work/Macro_EN.dat" || fail "cannot write Macro_EN.dat"
e2e_set_title "$ini"

# Presses and releases the switch button $1 and checks that slot $2 arrives in the mouse and in
# config.ini.
switch_to() {
    local button=$1 slot=$2 pressed_at
    vm clear > /dev/null
    helper reports "$slot" > "$work/expected_reports"
    pressed_at=$EPOCHREALTIME
    vm_click "$button"
    e2e_poll 30 features_are "$(cat "$work/expected_reports")"
    switch_seconds=$(awk -v a="$pressed_at" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
    if ! diff <(features) "$work/expected_reports" > "$work/diff"; then
        echo "--- reports after the switch to slot $slot: expected (>) and received (<):" >&2
        cat "$work/diff" >&2
        fail "button $button did not switch the mouse to slot $slot"
    fi
    e2e_poll 20 ini_is Init CurConfig "$slot" || fail "config.ini records CurConfig=$(ini_value Init CurConfig) after the switch, not $slot"
}
# 2a. Start-up applies slot 4.
e2e_start_with_virtual_mouse
e2e_poll 30 features_are "$(helper reports 4)" || { diff <(features) <(helper reports 4) >&2; fail "start-up did not apply slot 4"; }
step "program up, slot 4 applied"

# 2b. The start key (button 4) switches host actions on; its own press plays nothing: the
# events after it are exactly those of macro 0, played by the next press.
focus_logger
from=$(($(log_lines) + 1))
vm_click 4
helper macro-lines 0 > "$work/expected_events"
vm_click 4
e2e_poll 30 events_at_least "$from" "$(wc -l < "$work/expected_events")" || true
expect_events "$from" "$work/expected_events" "the start key, then macro 0 (keys)"
step "macro 0 played"

# 2c. Macro 2 repeats X many times; a second press of its button stops it.
long_passes=$(helper long-passes)
x_presses() { events_since "$from" | grep -c '^KEYDOWN vk=58'; }
x_presses_at_least() { [ "$(x_presses)" -ge "$1" ]; }
from=$(($(log_lines) + 1))
vm_click 6
e2e_poll 30 x_presses_at_least 3 || fail "the long macro did not play (only $(x_presses) X presses)"
vm press 6 > /dev/null
# The stop is requested once the press is answered; at most the pass under way may still show.
at_stop=$(x_presses)
vm release 6 > /dev/null
# A pass lasts 200 ms: once a whole second brought no new X, the macro has stopped.
final=$(x_presses)
unchanged() { [ "$(x_presses)" -eq "$final" ] || { final=$(x_presses); return 1; }; }
settled_x() { e2e_holds 1 unchanged; }
e2e_poll 30 settled_x || fail "the long macro still plays after the second press"
[ "$final" -lt "$long_passes" ] || fail "the long macro played all $long_passes passes despite the second press"
[ "$final" -le $((at_stop + 1)) ] || fail "the long macro went on for $((final - at_stop)) passes after the second press"
events_since "$from" | grep -v '^KEY\(DOWN\|UP\) vk=58 scan=2D ext=0$' | grep . >/dev/null &&
    fail "the long macro gave other events than X: $(events_since "$from" | grep -v 'vk=58' | head -3)"
[ "$(events_since "$from" | grep -c '^KEYUP vk=58')" -eq "$final" ] || fail "the long macro left X pressed"
step "long macro stopped after $final of $long_passes passes"

# 2d. Button 5 switches to slot 5, where button 6 is the start key.
switch_to 5 5
# A switch that stalls for seconds means the apply and the window wait on each other.
awk -v s="$switch_seconds" 'BEGIN { exit !(s < 2.5) }' ||
    fail "the switch to slot 5 took $switch_seconds s (a stall between the apply and the window)"
step "switched to slot 5 (its reports complete after $switch_seconds s)"

# 2e. In slot 5, macro 1 of mouse buttons plays twice once button 6 started host actions again.
focus_logger
from=$(($(log_lines) + 1))
vm_click 6
helper macro-lines 1 > "$work/expected_events"
vm_click 6
e2e_poll 30 events_at_least "$from" "$(wc -l < "$work/expected_events")" || true
expect_events "$from" "$work/expected_events" "the start key of slot 5, then macro 1 (mouse buttons, two passes)"
step "macro 1 played"

# 2f. Button 7 switches from slot 5 around to slot 1.
switch_to 7 1
step "switched to slot 1 (its reports complete after $switch_seconds s)"
kill -0 "$pid" 2>/dev/null || fail "the program ended during the test"

# ------------------------------------------------------------------------------------------------
# 3. Closing in a macro's pause. Button 4 of slot 1 is the start key and plays the pause macro,
# whose X press shows it is in its pause.
pause_macro() {
    focus_logger
    from=$(($(log_lines) + 1))
    vm_click 4
    vm_click 4
    x_down() { events_since "$from" | grep -q '^KEYDOWN vk=58'; }
    e2e_poll 30 x_down || fail "the pause macro did not start"
}
seconds_since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }'; }

# 3a. Alt+F4 in the pause ends the program within seconds; the exit command is the last report.
pause_macro
# Wine keeps the logger in front until a click on the program's window makes it active.
click main status
closed_at=$EPOCHREALTIME
e2e_close "during the macro's pause"
took=$(seconds_since "$closed_at")
awk -v s="$took" 'BEGIN { exit !(s < 5) }' || fail "the program took $took s to end after Alt+F4"
[ "$(tail -n1 "$log")" = "$exit_report" ] || fail "the last report was '$(tail -n1 "$log")'"
step "Alt+F4 in a pause ended the program after $took s"

# 3b. Unplugging the mouse in the pause ends the program as quickly, with status 0 and nothing
# sent but the start-up's reports (no exit command).
LOG_NAME=unplug.log e2e_start_with_virtual_mouse
e2e_poll 30 features_are "$(helper reports 1)" || fail "the start in slot 1 did not apply it"
pause_macro
unplugged_at=$EPOCHREALTIME
vm unplug >/dev/null
e2e_wait_for_exit 20 || fail "the program was still running 20 s after the mouse was unplugged during the macro's pause"
unplug_took=$(seconds_since "$unplugged_at")
[ "$status" -eq 0 ] || fail "the program exited with status $status after the unplug"
awk -v s="$unplug_took" 'BEGIN { exit !(s < 5) }' || fail "the program took $unplug_took s to end after the unplug"
grep -q '^07 20' "$log" && fail "unplugging sent the exit command"
[ "$(cat "$log")" = "$(helper reports 1)" ] || fail "unplugging sent reports: $(cat "$log")"
step "an unplug in a pause ended the program after $unplug_took s"
echo "PASS ($((SECONDS - e2e_started)) s)"
