#!/usr/bin/env bash
# End to end: the command line drives the program, under Wine with the virtual mouse.
#   - a bad option prints the usage and gives status 2, --help the usage and 0;
#   - with no copy running, --slot starts the program, which switches after its start-up;
#   - against the running copy, --slot, --export and --import (relative files) are carried out
#     by it: the mouse receives the slot's reports, config.ini and the exported file hold the
#     values the test wrote; each start prints one line and exits 0, or 1 with the reason;
#   - a copy that does not answer gives status 1 and a reason;
#   - a start without options brings an English copy hidden in the tray back.
# Usage: test_command_line.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
[ -d "$work/skins" ] || fail "no skins/ in $build (build the default target)"

# The slots, an exchange file to import, and the reports and values they stand for.
cat > "$work/helper.py" <<'PYTHON'
import sys

from mouse_reports import section_lines, slot_reports, slot_values

def slot(k6, level, wheel, led, fire, dpi):
    return dict(K=[1, 2, 3, 5, 4, k6, 17], DPI_LEVEL=level, WHEEL_STATUS=wheel, LED_STATUS=led, FIRE_TIME=fire,
                DPI_SET=dpi, DPI_SET_EN=[1, 1, 1, 1])

SLOTS = {1: slot(16, 0, 0, 3, 7, [0, 1, 2, 4]), 2: slot(25, 1, 1, 2, 50, [1, 3, 2, 4]),
         3: slot(14, 2, 0, 1, 300, [4, 0, 2, 1]), 4: slot(2, 3, 1, 0, 16, [0, 2, 4, 3]),
         5: slot(1, 0, 0, 2, 120, [3, 3, 3, 3])}
SLOTS["imported"] = slot(22, 3, 1, 1, 200, [2, 4, 0, 1])

def which(name):
    return SLOTS[name if name == "imported" else int(name)]

command, name = sys.argv[1], sys.argv[2]
if command == "config":
    lines = ["[Init]", f"CurConfig={name}", "VER_SEL=1"]
    for n in range(1, 6):
        lines += section_lines(f"Config{n}", SLOTS[n])
    sys.stdout.buffer.write(("\r\n".join(lines) + "\r\n").encode("ascii"))
elif command == "exchange":
    sys.stdout.buffer.write(("\r\n".join(section_lines("Config7", which(name))) + "\r\n").encode("ascii"))
elif command == "reports":
    print("\n".join(slot_reports(which(name))))
elif command == "values":
    print("\n".join(f"{key}={value}" for key, value in sorted(slot_values(which(name)))))
PYTHON
helper() { PYTHONPATH="$src/tools" PYTHONDONTWRITEBYTECODE=1 python3 "$work/helper.py" "$@"; }
helper config 1 > "$work/config.ini" || fail "cannot write config.ini"
helper exchange imported > "$work/import me.ini" || fail "cannot write the exchange file"

# A start in $work (so relative files are its own), waited for at most 90 s: its exit status in
# $rc, its standard output in $out.
second() {
    (cd "$work" && timeout 90 "$wine_run" ./HXT_GMouse.exe "$@" > "$work/second.out" 2> "$work/second.err")
    rc=$?
    out=$(tr -d '\r' < "$work/second.out")
}
expect() {  # STATUS LINE WHAT
    [ "$rc" -eq "$1" ] || fail "$3: status $rc, not $1; it printed: $out"
    [ "$out" = "$2" ] || fail "$3 printed '$out', not '$2'"
}
# The section's keys and values of an INI file, sorted.
section_of() {  # FILE SECTION
    tr -d '\r' < "$1" | awk -v s="[$2]" '/^\[/ { in_s = ($0 == s); next } in_s && /=/' | sort
}
# The virtual mouse's reports are those of the named slot, within 15 s.
reports_are() {  # NAME WHAT
    helper reports "$1" > "$work/expected"
    e2e_poll 15 bash -c "python3 '$src/tools/vmouse.py' $port features | grep -v '^OK\$' > '$work/got'; cmp -s '$work/got' '$work/expected'" ||
        { diff "$work/got" "$work/expected" >&2; fail "$2: the mouse did not receive exactly the reports of $1"; }
}
window_shown() { [ -n "$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null)" ]; }

# 1. Bad options and --help, with no copy running.
second --slot 6
[ "$rc" -eq 2 ] || fail "--slot 6 gave status $rc, not 2"
grep -q "^--slot needs a slot number from 1 to 5" <<<"$out" && grep -q "^Usage: HXT_GMouse.exe" <<<"$out" ||
    fail "--slot 6 did not print the fault and the usage: $out"
second --export
[ "$rc" -eq 2 ] && grep -q "^Usage:" <<<"$out" || fail "--export without a file gave status $rc: $out"
second --help
[ "$rc" -eq 0 ] && grep -q "^  --import FILE" <<<"$out" || fail "--help gave status $rc: $out"

# 2. No copy runs: the start carries out its --slot after its own start-up and first apply.
port=$(e2e_free_port)
"$wine_run" "$work/HXT_GMouse.exe" "--virtual-mouse=$port" --slot 3 > "$work/first.out" 2> "$work/first.err" &
pid=$!
wid=$(e2e_wait_for_window "^$title\$" 120) || fail "no window appeared within 120 s"
first_says() { [ "$(tr -d '\r' < "$work/first.out")" = "$1" ]; }
e2e_poll 20 first_says "Slot 3 is the current configuration and applied." ||
    fail "the first start did not print its slot switch: $(cat "$work/first.out")"
{ helper reports 1; helper reports 3; } > "$work/expected"
vmouse features | grep -v '^OK$' > "$work/got"
cmp -s "$work/got" "$work/expected" || { diff "$work/got" "$work/expected" >&2; fail "start-up then slot 3 did not reach the mouse"; }
ini_is Init CurConfig 3 || fail "CurConfig is $(ini_value Init CurConfig) after --slot 3, not 3"

# 3. The running copy carries out what later starts ask.
vmouse clear > /dev/null
second --slot 2
expect 0 "Slot 2 is the current configuration and applied." "--slot 2"
reports_are 2 "--slot 2"
ini_is Init CurConfig 2 || fail "CurConfig is $(ini_value Init CurConfig) after --slot 2, not 2"

vmouse clear > /dev/null
second --slot 4 --bogus
[ "$rc" -eq 2 ] || fail "a bad option with a copy running gave status $rc"
sleep 1
[ -z "$(vmouse features | grep -v '^OK$')" ] || fail "a bad command line still reached the running copy"

wpath=$(e2e_windows_path "$work")
second --export "out dir/../exported.ini"
expect 0 "Exported the configuration to $wpath\\exported.ini." "--export"
[ "$(section_of "$work/exported.ini" Config7)" = "$(helper values 2)" ] ||
    fail "the exported Config7 is not slot 2's configuration: $(section_of "$work/exported.ini" Config7)"
second --export "no such folder/x.ini"
expect 1 "Cannot write the configuration to $wpath\\no such folder\\x.ini." "--export into a missing folder"

vmouse clear > /dev/null
second --import "import me.ini"
expect 0 "Imported $wpath\\import me.ini into the current slot and applied it." "--import"
reports_are imported "--import"
[ "$(section_of "$work/config.ini" Config2)" = "$(helper values imported)" ] ||
    fail "config.ini's Config2 does not hold the imported values: $(section_of "$work/config.ini" Config2)"
ini_is Init CurConfig 2 || fail "--import changed CurConfig to $(ini_value Init CurConfig)"
second --import missing.ini
expect 1 "Cannot import $wpath\\missing.ini: the file does not exist." "--import of a missing file"

# 4. A copy that does not answer (stopped): status 1 and the reason.
kill -STOP "$pid"
second --slot 1
kill -CONT "$pid"
expect 1 "The program runs, but its window does not answer." "--slot to a stopped copy"

# 5. The close control hides the copy in the tray; a start without options brings it back.
eval "$(xdotool getwindowgeometry --shell "$wid")"
read -r cx cy < <(entry main close 1)
xdotool mousemove $((X + cx)) $((Y + cy)) click 1
e2e_poll 10 bash -c "! xdotool search --onlyvisible --name '^$title\$' >/dev/null" || fail "the close control did not hide the window"
second
[ "$rc" -eq 0 ] || fail "a start without options gave status $rc: $out"
e2e_poll 10 window_shown || fail "a start without options did not bring the window back from the tray"
kill -0 "$pid" 2>/dev/null || fail "the first copy ended"

wid=$(e2e_wait_for_window "^$title\$" 5) || fail "the window went again"
e2e_alt_f4 "$wid"
e2e_wait_for_exit 20 || fail "the program was still running 20 s after Alt+F4"
[ $status -eq 0 ] || fail "the first start, whose --slot 3 was done, ended with status $status"
echo "PASS"
