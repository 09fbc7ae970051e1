#!/usr/bin/env bash
# End to end: buttons in host mode play macros into the focused window and switch to the next
# configuration slot, with the program driving a virtual mouse.
#   - the start key's press and release switch host actions on, and play nothing;
#   - a macro of keys arrives in a key logger window in order, with its virtual keys, scan codes
#     and extended bits; a macro of mouse buttons with a repeat count arrives that many times;
#   - a second press stops a long repeating macro;
#   - the switch button makes the mouse receive the next slot's ten reports and records that slot
#     as CurConfig, from slot 4 to 5 and from 5 around to 1.
# Usage: test_macros.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR; needs a display)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
key_logger=$build/key_logger.exe
[ -f "$key_logger" ] || fail "$key_logger is missing (build the key_logger target)"
vmouse=$src/tools/vmouse.py

# The key logger runs in the program's prefix: injected input reaches only windows of the same
# wineserver. The final `wineserver -k` ends it with the program.
logger_pid=""
trap '[ -n "$logger_pid" ] && kill "$logger_pid" 2>/dev/null; e2e_cleanup' EXIT
started=$SECONDS
step() { echo "[$((SECONDS - started)) s] $*"; }
fail() {
    echo "FAIL: $*" >&2
    if [ -f "$work/keys.log" ]; then
        echo "--- key logger's log (last 40 lines):" >&2
        tail -n 40 "$work/keys.log" >&2
    fi
    exit 1
}

# ---------------------------------------------------------------------------------------------
# Data: config.ini, the macro file and the expected reports, written by a helper of our own.
cat > "$work/helper.py" <<'PYTHON'
import sys

from make_default_macros import macro_file as encode_macro_file  # the encoder of the shipped files
from mouse_reports import section_lines, slot_reports

# Slots 4 and 5 bind host functions; slot 1 only device functions. DPI, LED, wheel and fire
# differ per slot so that each slot's reports are its own.
SLOTS = {
    1: dict(K=[1, 2, 3, 5, 4, 16, 25], DPI_LEVEL=3, WHEEL_STATUS=0, LED_STATUS=3, FIRE_TIME=7,
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


def macro_file():
    return encode_macro_file(MACROS)


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
    sys.stdout.buffer.write(macro_file())
elif command == "reports":
    print("\n".join(slot_reports(SLOTS[int(sys.argv[2])])))
elif command == "macro-lines":
    print("\n".join(macro_lines(int(sys.argv[2]))))
elif command == "long-passes":
    print(LONG_PASSES)
else:
    sys.exit(f"unknown command {command}")
PYTHON
helper() { PYTHONPATH="$src/tools" PYTHONDONTWRITEBYTECODE=1 python3 "$work/helper.py" "$@"; }

[ -d "$work/skins" ] || fail "no skins/ in $build (build the default target)"
helper config 4 > "$work/config.ini" || fail "cannot write config.ini"
helper macros > "$work/Macro_EN.dat" || fail "cannot write Macro_EN.dat"
cp "$key_logger" "$work/key_logger.exe" || fail "cannot copy $key_logger"

# ---------------------------------------------------------------------------------------------
# Helpers.

# Runs one virtual mouse command; its answer (without the final OK) on stdout.
vm() {
    local out
    out=$(python3 "$vmouse" --wait 5 "$port" "$@") || fail "virtual mouse command '$*' failed: $out"
    printf '%s\n' "$out" | sed '$d'
}

# Polls the virtual mouse's feature reports until there are $1 of them or $2 seconds passed.
wait_features() {
    local want=$1 deadline=$((SECONDS + $2)) lines
    while :; do
        lines=$(vm features)
        [ "$(printf '%s' "$lines" | grep -c .)" -ge "$want" ] && break
        [ $SECONDS -ge $deadline ] && break
        sleep 0.2
    done
    printf '%s\n' "$lines" | grep .
}

# The key and button lines of the logger from line $1 on, without prev= and positions.
events_since() {
    tail -n +"$1" "$work/keys.log" | grep -E '^(SYS)?KEY(DOWN|UP) |^[LRM]BUTTON' |
        sed -E 's/ prev=[01]$//; s/^([LRM]BUTTON[A-Z]+) .*/\1/'
}
log_lines() { wc -l < "$work/keys.log"; }

# Waits until $2 event lines arrived since line $1, for at most $3 seconds; then a short while
# longer, so that lines beyond those expected are seen too.
wait_events() {
    local from=$1 want=$2 deadline=$((SECONDS + $3))
    while [ "$(events_since "$from" | grep -c .)" -lt "$want" ] && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    sleep 0.5
}

# Compares the events since line $1 with the lines of file $2.
expect_events() {
    local from=$1 expected=$2 what=$3
    if ! diff <(events_since "$from") "$expected" > "$work/diff"; then
        echo "--- $what: expected (>) and received (<):" >&2
        cat "$work/diff" >&2
        fail "$what did not arrive as played"
    fi
}

# Gives the key logger the keyboard and puts the pointer over it, then proves both with a key
# and a click of our own that must arrive in its log.
focus_logger() {
    local attempt from
    for attempt in 1 2 3 4 5; do
        from=$(($(log_lines) + 1))
        # No --sync: it waits for a motion that never comes when the pointer is there already.
        xdotool mousemove "$logger_x" "$logger_y"
        xdotool windowraise "$logger_wid" 2>/dev/null
        xdotool windowfocus --sync "$logger_wid" 2>/dev/null || xdotool windowfocus "$logger_wid"
        xdotool click 1 key F12
        local deadline=$((SECONDS + 3))
        while [ $SECONDS -lt $deadline ]; do
            if tail -n +"$from" "$work/keys.log" | grep '^KEYUP vk=7B' >/dev/null &&
               tail -n +"$from" "$work/keys.log" | grep '^LBUTTONUP' >/dev/null; then
                sleep 0.2
                return 0
            fi
            sleep 0.1
        done
    done
    fail "the key logger does not get the keyboard and the mouse"
}

# The value of CurConfig in config.ini once it is $1, or what it is after $2 seconds.
wait_cur_config() {
    local deadline=$((SECONDS + $2)) value
    while :; do
        value=$(grep -a -m1 '^CurConfig=' "$work/config.ini" | tr -d '\r' | cut -d= -f2)
        [ "$value" = "$1" ] || [ $SECONDS -ge $deadline ] && break
        sleep 0.2
    done
    echo "$value"
}

# Presses and releases the switch button $1 and checks that slot $2 arrives in the mouse and in
# config.ini.
switch_to() {
    local button=$1 slot=$2 got
    vm clear > /dev/null
    vm press "$button" > /dev/null
    vm release "$button" > /dev/null
    local pressed_at=$EPOCHREALTIME
    helper reports "$slot" > "$work/expected_reports"
    got=$(wait_features 10 15)
    switch_seconds=$(awk -v a="$pressed_at" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
    sleep 0.5
    got=$(vm features)
    if ! diff <(printf '%s\n' "$got" | grep .) "$work/expected_reports" > "$work/diff"; then
        echo "--- reports after the switch to slot $slot: expected (>) and received (<):" >&2
        cat "$work/diff" >&2
        fail "button $button did not switch the mouse to slot $slot"
    fi
    got=$(wait_cur_config "$slot" 5)
    [ "$got" = "$slot" ] || fail "config.ini records CurConfig=$got after the switch, not $slot"
}

# ---------------------------------------------------------------------------------------------
# 1. The key logger, top left, out of the way of the program's window.
port=$(e2e_free_port)
"$wine_run" "$work/key_logger.exe" "$(e2e_windows_path "$work/keys.log")" 20 20 360 240 &
logger_pid=$!
logger_wid=$(e2e_wait_for_window '^HXT key logger$' 120) || fail "the key logger's window did not appear within 120 s"
eval "$(xdotool getwindowgeometry --shell "$logger_wid")"
logger_x=$((X + WIDTH / 2))
logger_y=$((Y + HEIGHT / 2))
step "key logger up"

# 2. The program with its virtual mouse: start-up applies slot 4.
e2e_start "--virtual-mouse=$port"
python3 "$vmouse" --wait 60 "$port" state > /dev/null || fail "the virtual mouse did not answer on port $port within 60 s"
helper reports 4 > "$work/expected_reports"
got=$(wait_features 10 20)
diff <(printf '%s\n' "$got") "$work/expected_reports" > "$work/diff" ||
    { cat "$work/diff" >&2; fail "start-up did not apply slot 4"; }
kill -0 "$pid" 2>/dev/null || fail "the program ended after start-up"
step "program up, slot 4 applied"

# 3. The start key (button 4) switches host actions on; its own press plays nothing.
focus_logger
from=$(($(log_lines) + 1))
vm press 4 > /dev/null
vm release 4 > /dev/null
sleep 1
[ -z "$(events_since "$from")" ] || fail "the start key's first press played something: $(events_since "$from" | head -3)"

# 4. Macro 0, keys only: its events in order, with their keys, scan codes and extended bits.
focus_logger
helper macro-lines 0 > "$work/expected_events"
from=$(($(log_lines) + 1))
vm press 4 > /dev/null
vm release 4 > /dev/null
wait_events "$from" "$(wc -l < "$work/expected_events")" 10
expect_events "$from" "$work/expected_events" "macro 0 (keys)"
step "macro 0 played"

# 5. Macro 2 repeats X many times; a second press of its button stops it.
long_passes=$(helper long-passes)
from=$(($(log_lines) + 1))
vm press 6 > /dev/null
vm release 6 > /dev/null
deadline=$((SECONDS + 10))
while [ "$(events_since "$from" | grep -c '^KEYDOWN vk=58')" -lt 3 ] && [ $SECONDS -lt $deadline ]; do sleep 0.05; done
playing=$(events_since "$from" | grep -c '^KEYDOWN vk=58')
[ "$playing" -ge 3 ] || fail "the long macro did not play (only $playing X presses in 10 s)"
vm press 6 > /dev/null
# The stop is requested once the press is answered; at most the pass under way may still show.
at_stop=$(events_since "$from" | grep -c '^KEYDOWN vk=58')
vm release 6 > /dev/null
sleep 1.5
final=$(events_since "$from" | grep -c '^KEYDOWN vk=58')
sleep 1
[ "$(events_since "$from" | grep -c '^KEYDOWN vk=58')" -eq "$final" ] ||
    fail "the long macro still plays after the second press"
[ "$final" -lt "$long_passes" ] || fail "the long macro played all $long_passes passes despite the second press"
[ "$final" -le $((at_stop + 1)) ] || fail "the long macro went on for $((final - at_stop)) passes after the second press"
events_since "$from" | grep -v '^KEY\(DOWN\|UP\) vk=58 scan=2D ext=0$' | grep . >/dev/null &&
    fail "the long macro gave other events than X: $(events_since "$from" | grep -v 'vk=58' | head -3)"
[ "$(events_since "$from" | grep -c '^KEYUP vk=58')" -eq "$final" ] || fail "the long macro left X pressed"
step "long macro stopped after $final of $long_passes passes"

# 6. Button 5 switches to slot 5, where button 6 is the start key.
switch_to 5 5
# A switch that stalls for seconds means the apply and the window wait on each other.
awk -v s="$switch_seconds" 'BEGIN { exit !(s < 2.5) }' ||
    fail "the switch to slot 5 took $switch_seconds s (a stall between the apply and the window)"
step "switched to slot 5 (its reports complete after $switch_seconds s)"

# 7. In slot 5, macro 1 of mouse buttons plays twice once button 6 started host actions again.
focus_logger
from=$(($(log_lines) + 1))
vm press 6 > /dev/null
vm release 6 > /dev/null
sleep 1
[ -z "$(events_since "$from")" ] || fail "the start key of slot 5 played something on its first press"
helper macro-lines 1 > "$work/expected_events"
from=$(($(log_lines) + 1))
vm press 6 > /dev/null
vm release 6 > /dev/null
wait_events "$from" "$(wc -l < "$work/expected_events")" 10
expect_events "$from" "$work/expected_events" "macro 1 (mouse buttons, two passes)"
step "macro 1 played"

# 8. Button 7 switches from slot 5 around to slot 1.
switch_to 7 1
step "switched to slot 1 (its reports complete after $switch_seconds s)"

kill -0 "$pid" 2>/dev/null || fail "the program ended during the test"
echo "PASS ($((SECONDS - started)) s)"
