#!/usr/bin/env bash
# End to end with the virtual mouse: start-up downloads the delivered slot into the mouse; host
# actions wait for the start key and then step the DPI stage in the mouse and in config.ini;
# Alt+F4 sends the exit command, unplugging ends the program without it; without a mouse the
# program asks for it and ends, still saving the configuration.
# Usage: test_device_link.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out

ini=$work/config.ini
exit_report="07 20 00 00 00 00 00 00 00"

# The reports applying the current slot of config.ini must produce, one per line: the mappings of
# buttons 1..7 (host functions in host mode 31, codes outside the catalogue skipped), the wheel
# mode, the DPI stage with its value and the LED, and the fire interval; 9 bytes each.
expected_reports() {
    python3 - "$ini" <<'PY'
import re, sys
text = open(sys.argv[1], encoding="utf-8", errors="replace").read()
sections, current = {}, None
for line in text.splitlines():
    line = line.strip()
    if line.startswith("[") and line.endswith("]"):
        current = sections.setdefault(line[1:-1].lower(), {})
    elif "=" in line and current is not None:
        key, value = line.split("=", 1)
        current.setdefault(key.strip().upper(), value.strip())
def number(section, key):
    match = re.match(r"[+-]?\d+", section.get(key, ""))
    return int(match.group()) if match else 0
slot = sections.get("config%d" % number(sections.get("init", {}), "CURCONFIG"), {})
def device_function(code):
    if code == 6 or 17 <= code <= 19 or 26 <= code <= 52: return 31
    if 0 <= code <= 5: return code
    if 11 <= code <= 16: return code - 4
    if 21 <= code <= 25: return code - 8
    return None
def report(*payload):
    return " ".join("%02X" % (b & 0xFF) for b in (0x07,) + payload + (0,) * (8 - len(payload)))
for button, hardware in zip(range(1, 8), (1, 2, 3, 5, 4, 6, 8)):
    function = device_function(number(slot, "K%d" % button))
    if function is not None: print(report(0x10, hardware, function))
print(report(0x11, number(slot, "WHEEL_STATUS"), 0))
level = min(max(number(slot, "DPI_LEVEL"), 0), 3)
print(report(0x09, level, (number(slot, "DPI_SET%d" % (level + 1)) + 8) * 16 + number(slot, "LED_STATUS")))
print(report(0x12, int(number(slot, "FIRE_TIME") / 8), 0))
PY
}

# The value of a key of section Config1 in config.ini.
config1() { awk -F= -v key="$1" '/^\[/ { in1 = ($0 ~ /^\[Config1\]/) } in1 && $1 == key { gsub("\r", "", $2); print $2; exit }' "$ini"; }

has_feature() { features | grep -x "$1" >/dev/null; }
dpi_level_is() { [ "$(config1 DPI_LEVEL)" = "$1" ]; }

expected=$(expected_reports)
[ "$(echo "$expected" | wc -l)" -ge 3 ] || fail "cannot work out the expected reports from $ini"
[ "$(config1 K6)" = 18 ] && [ "$(config1 K7)" = 17 ] || fail "this test wants Config1 with K6=18, K7=17"
start_level=$(config1 DPI_LEVEL)
[ "$start_level" = 0 ] || fail "this test wants Config1 to start at DPI stage 0"
up_report=$(python3 -c "import sys; print('07 09 01 %02X 00 00 00 00 00' % ((int(sys.argv[1]) + 8) * 16 + int(sys.argv[2])))" \
    "$(config1 DPI_SET2)" "$(config1 LED_STATUS)")
down_report=$(echo "$expected" | grep '^07 09')

# 1. Start-up applies the delivered slot: the mouse receives exactly its reports, the log too.
port=$(e2e_free_port)
log=$work/features.log
e2e_start --virtual-mouse="$port" --virtual-mouse-log="$(e2e_windows_path "$log")"
wid=$(e2e_wait_for_window "^${title}\$" 120) || fail "no window titled '$title' appeared within 120 s"
vmouse --wait 30 state >/dev/null || fail "the virtual mouse does not answer on port $port"
[ "$(features)" = "$expected" ] || fail "start-up sent
$(features)
instead of
$expected"
[ "$(cat "$log")" = "$expected" ] || fail "the log holds
$(cat "$log")"

# 2. Host actions wait for the start key: a press of the DPI-up button does nothing yet.
vmouse clear >/dev/null
vmouse press 7 | grep -x 'input 06 F8 00 00 00 00 00 00 00' >/dev/null || fail "button 7 is not in host mode"
sleep 1
[ -z "$(features)" ] || fail "a press before the start key sent $(features)"
dpi_level_is 0 || fail "a press before the start key changed DPI_LEVEL"

# 3. Pressing and releasing the start key (button 6, the first host-mode button) switches host
# actions on; DPI up then reaches the mouse and config.ini, and DPI down comes back.
vmouse press 6 >/dev/null && vmouse release 6 >/dev/null || fail "the start key cannot be pressed"
vmouse press 7 >/dev/null && vmouse release 7 >/dev/null
e2e_poll 10 has_feature "$up_report" || fail "DPI up did not send $up_report; got: $(features)"
e2e_poll 10 dpi_level_is 1 || fail "DPI_LEVEL of Config1 is $(config1 DPI_LEVEL) after DPI up, not 1"
vmouse clear >/dev/null
vmouse press 6 >/dev/null && vmouse release 6 >/dev/null
e2e_poll 10 has_feature "$down_report" || fail "DPI down did not send $down_report; got: $(features)"
e2e_poll 10 dpi_level_is 0 || fail "DPI_LEVEL of Config1 is $(config1 DPI_LEVEL) after DPI down, not 0"

# 4. Alt+F4 runs the whole close: the exit command is the last report.
e2e_alt_f4 "$wid"
e2e_wait_for_exit 20 || fail "the program was still running 20 s after Alt+F4"
[ $status -eq 0 ] || fail "the program exited with status $status after Alt+F4"
[ "$(tail -n1 "$log")" = "$exit_report" ] || fail "the last report before the end was '$(tail -n1 "$log")'"
echo "ok: start-up, start key, DPI steps, exit command"

# 5. Unplugging the mouse ends the program at once, with nothing sent.
port=$(e2e_free_port)
log=$work/unplug.log
e2e_start --virtual-mouse="$port" --virtual-mouse-log="$(e2e_windows_path "$log")"
e2e_wait_for_window "^${title}\$" 60 >/dev/null || fail "no window after the second start"
vmouse --wait 30 unplug | grep -x OK >/dev/null || fail "unplug was refused"
e2e_wait_for_exit 20 || fail "the program was still running 20 s after the mouse was unplugged"
[ $status -eq 0 ] || fail "the program exited with status $status after the unplug"
grep -q '^07 20' "$log" && fail "unplugging sent the exit command"
[ "$(cat "$log")" = "$(expected_reports)" ] || fail "unplugging sent reports: $(cat "$log")"
echo "ok: unplug"

# 6. Without a mouse: the plug-in message, then the program ends; the configuration is still
# applied to Windows and saved (the applied copy appears in config.ini).
sed -i '/^\[Config6\]/,/^\[/{/^\[Config6\]/d;/^[^[]/d}' "$ini"
grep -q '^\[Config6\]' "$ini" && fail "cannot remove Config6 from the test's config.ini"
e2e_start
box=$(e2e_wait_for_window '^HXT_GMouse$' 60) || fail "no plug-in message appeared"
xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1 && fail "the main window showed without a mouse"
xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
xdotool key --clearmodifiers Return
e2e_wait_for_exit 20 || fail "the program was still running 20 s after the plug-in message"
[ $status -eq 0 ] || fail "the program exited with status $status without a mouse"
grep -q '^\[Config6\]' "$ini" || fail "the configuration was not saved after the plug-in message"
echo "ok: no mouse"

# 7. The virtual mouse's port is taken: the program says so and ends without its window.
port=$(e2e_free_port)
python3 -c 'import socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", int(sys.argv[1]))); s.listen(); time.sleep(30)' "$port" >/dev/null 2>&1 &
holder=$!
sleep 0.5
e2e_start --virtual-mouse="$port"
box=$(e2e_wait_for_window '^HXT_GMouse$' 60) || { kill $holder; fail "no message about the port that is taken"; }
kill $holder 2>/dev/null
xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1 && fail "the main window showed without its mouse"
xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
xdotool key --clearmodifiers Return
e2e_wait_for_exit 20 || fail "the program was still running 20 s after the message about the port"
echo "PASS"
