#!/usr/bin/env bash
# End to end: a macro made on the advanced page, as a user makes it.
#   - a new macro is named and added, a hidden sequence of typed keys is recorded (under the
#     program's keyboard capture) and stopped, and the repeat-count entry saves it: the macro
#     file then holds exactly those keys, presses and releases, with the last delay 30 ms;
#   - the event list's context menu opens on a delay line, "Modify Delay" opens the in-place
#     editor, and the typed delay is in the file after the next save;
#   - in English the macro is bound to button 4 through the function popup's macro group,
#     applied, and played through the virtual mouse into the key logger.
# Screenshots of the page, the menu and the delay editor in both languages go to
# $HXT_BUILD_DIR/screenshots/macro-*.png; the time from each key to its event line goes to
# $HXT_BUILD_DIR/record-latency.log.
# Usage: test_macro_editor.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
key_logger=$build/key_logger.exe
[ -f "$key_logger" ] || fail "$key_logger is missing (build the key_logger target)"
cp "$key_logger" "$work/key_logger.exe" || fail "cannot copy $key_logger"
e2e_screenshots
ini=$work/config.ini
export HXT_RECORD_LOG
HXT_RECORD_LOG=$(e2e_windows_path "$work/record.log")
logger_pid=""
trap '[ -n "$logger_pid" ] && kill "$logger_pid" 2>/dev/null; e2e_cleanup' EXIT

# The macro file's record KEY as "name|count|key,action,delay ..." (delays in ms).
cat > "$work/record.py" <<'PYTHON'
import sys

path, key = sys.argv[1], sys.argv[2]
text = open(path, "rb").read()
text = text.decode("utf-16") if text[:2] == b"\xff\xfe" else text.decode("latin-1")
values = dict(line.split("=", 1) for line in text.replace("\r", "").split("\n") if "=" in line)
if key == "macroNum":
    print(values.get("macroNum", ""))
    sys.exit()
digits = values[key]
image = [int(digits[i:i + 3]) & 0xFF for i in range(0, len(digits), 3)]
name = bytes(image[0:40]).decode("utf-16-le").split("\0")[0]
count = image[43]
events = [f"{image[44 + 4 * k]},{image[45 + 4 * k]},{image[46 + 4 * k] | image[47 + 4 * k] << 8}" for k in range(count)]
print(f"{name}|{count}|{' '.join(events)}")
PYTHON
record() { python3 "$work/record.py" "$macro_file" "$@"; }
macro_count_is() { [ "$(record macroNum)" = "$1" ]; }

shot() { e2e_shot "macro-$1" "${@:2}"; }  # NAME X Y WIDTH HEIGHT

start_program() {  # VER_SEL
    sed -i "s/^VER_SEL=.*/VER_SEL=$1\r/" "$ini"
    lang=$1
    e2e_start_with_virtual_mouse
}

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

for language in 1 0; do
    name=$([ $language = 1 ] && echo en || echo cn)
    macro_file=$work/Macro_${name^^}.dat
    start_program $language
    before=$(record macroNum)
    [ -n "$before" ] || fail "the shipped $macro_file has no macroNum"

    # 1. Name and add a macro: the name box shows the selected macro's name; replace it.
    click main tab-advanced
    sleep 1
    click advance macro-name EDIT
    xdotool key --clearmodifiers End $(printf 'BackSpace %.0s' $(seq 30))
    xdotool type --delay 50 "Rec$name"
    click advance macro-add

    # 2. Record the hidden keys, each pressed and released, then stop.
    click advance record
    sleep 0.5
    for c in $(echo "$letters" | fold -w1); do
        xdotool key --delay 120 "$c"
        sleep 0.25
    done
    sleep 0.3
    shot "recording-$name" "$X" "$Y" "$WIDTH" "$HEIGHT"
    click advance record

    # 3. The repeat-count entry saves: the file holds the new macro, byte for byte as typed.
    click advance repeat-apply
    e2e_poll 10 macro_count_is $((before + 1)) || fail "the save did not add macro $before to $macro_file"
    IFS='|' read -r got_name got_count got_events < <(record "$before")
    [ "$got_name" = "Rec$name" ] || fail "the new macro is named '$got_name'"
    [ "$got_count" = 10 ] || fail "the macro holds $got_count events, not 10: $got_events"
    keys=$(echo "$got_events" | sed -E 's/,[0-9]+( |$)/\1/g')
    [ "$keys" = "$(expected_keys)" ] || fail "recorded '$keys' for '$letters'"
    [ "${got_events##*,}" = 30 ] || fail "the last delay is ${got_events##*,} ms, not 30"
    shot "page-$name" "$X" "$Y" "$WIDTH" "$HEIGHT"

    # 4. The context menu on line 1 (the delay after the first press), "Modify Delay", 123 ms.
    read -r lx ly lw lh < <(entry_rect advance event-list "$lang" MACRODISPLAY)
    # The list shows its last line; Home scrolls back to the first and selects it. The height of
    # the selection bar is the height of a line, which the language's font decides.
    click_at $((X + lx + 20)) $((Y + ly + 4))
    xdotool key --clearmodifiers Home
    sleep 0.5
    import -window root "$work/root.png" || fail "cannot take a screenshot"
    # The selected line, in the list's left margin, ends where the black of the list begins.
    line_h=$(convert "$work/root.png" -crop "1x${lh}+$((X + lx + 2))+$((Y + ly))" +repage txt:- |
             awk 'NR > 1 && $3 == "#000000" { print NR - 2; exit }')
    [ -n "$line_h" ] && [ "$line_h" -ge 8 ] || fail "no selected first line in the event list"
    mx=$((X + lx + 20)); my=$((Y + ly + line_h + line_h / 2))
    click_at "$mx" "$my" 3
    shot "menu-$name" "$mx" "$my" 200 100
    # The menu opens at the cursor: Add Forward, Add Backward, Modify Delay, Delete, 20 px each.
    click_at $((mx + 30)) $((my + 2 * 20 + 12))
    sleep 0.5
    shot "delay-editor-$name" $((X + lx)) $((Y + ly)) "$lw" 60
    xdotool type --delay 50 "123"
    xdotool key --clearmodifiers Return
    sleep 0.5
    click advance repeat-apply
    delay_is() { IFS='|' read -r _ _ got_events < <(record "$before"); [ "$(echo "$got_events" | cut -d' ' -f1 | cut -d, -f3)" = 123 ]; }
    e2e_poll 10 delay_is || fail "the first delay is not 123 after the edit: $got_events"

    if [ $language = 1 ]; then
        # 5. Bind the macro to button 4 through the popup's macro group, apply, play it.
        click main tab-main
        read -r W MH < <(identify -format '%w %h' "$work/skins/menu_mask.jpg")
        read -r W2 MH2 < <(identify -format '%w %h' "$work/skins/advanced menu_mask.jpg")
        H=$((MH / 10)); H2=$((MH2 / 12))
        read -r ex ey ew eh < <(entry_rect main function-box-4 "$lang")
        PX=$((X + ex)); PY=$((Y + ey + eh))
        click main function-box-4
        xdotool mousemove $((PX + W / 2)) $((PY + 8 * H + H / 2)); sleep 0.8
        # The macro group ends level with its row (row 9): it starts 9 - count rows down.
        click_at $((PX + W + W2 / 2)) $((PY + (9 - (before + 1)) * H + before * H2 + H2 / 2))
        vmouse clear >/dev/null
        click main apply
        slot=$(ini_value Init CurConfig)
        e2e_poll 10 ini_is "Config$slot" K4 $((41 + before)) || fail "button 4 holds $(ini_value "Config$slot" K4), not macro $before"

        "$wine_run" "$work/key_logger.exe" "$(e2e_windows_path "$work/keys.log")" 20 600 360 200 &
        logger_pid=$!
        logger=$(e2e_wait_for_window '^HXT key logger$' 60) || fail "the key logger's window did not appear"
        xdotool windowfocus --sync "$logger" 2>/dev/null || xdotool windowfocus "$logger"
        sleep 0.5
        vmouse press 4 >/dev/null; vmouse release 4 >/dev/null  # the start key: host actions on
        sleep 0.5
        vmouse press 4 >/dev/null; vmouse release 4 >/dev/null
        played() { [ "$(grep -cE '^KEY(DOWN|UP) ' "$work/keys.log" 2>/dev/null)" -ge 10 ]; }
        e2e_poll 10 played || fail "the macro did not play into the key logger"
        got=$(grep -E '^KEY(DOWN|UP) ' "$work/keys.log" | sed -E 's/^KEYDOWN vk=(..).*/\1,1/; s/^KEYUP vk=(..).*/\1,2/' |
              while IFS=, read -r hex action; do printf '%d,%s ' "0x$hex" "$action"; done)
        [ "${got% }" = "$(expected_keys)" ] || fail "the key logger received '${got% }' for '$letters'"
    fi

    # Wine keeps the logger in front until a click on the program's window makes it active again.
    click main status
    e2e_alt_f4 "$wid"
    e2e_wait_for_exit 20 || fail "the program was still running 20 s after Alt+F4"
    [ -n "$logger_pid" ] && { kill "$logger_pid" 2>/dev/null; logger_pid=""; }
    cp "$src/data/config.ini" "$ini"
done
if [ -f "$work/record.log" ]; then
    cp "$work/record.log" "$build/record-latency.log"
    sort -n -k4 "$work/record.log" | awk '{ ms[NR] = $4 } END { printf "key to event line: %d keys, median %d ms, max %d ms\n", NR, ms[int((NR + 1) / 2)], ms[NR] }'
fi
echo "macro editor: recorded, edited, saved, bound and played in both languages"
