#!/usr/bin/env bash
# End to end: Alt+F4 while a macro waits in a 60-second pause ends the program within seconds
# (it does not wait for the pause), and the exit command is still the last report the mouse
# receives. Unplugging the mouse in such a pause ends it as quickly.
# Usage: test_close_during_macro.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR; needs a display)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
vmouse() { python3 "$src/tools/vmouse.py" --wait 5 "$port" "$@"; }
exit_report="07 20 00 00 00 00 00 00 00"

# Slot 1: button 4, the first in host mode, is the start key and plays macro 0: X down, a
# minute's pause, X up.
{
    printf '[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n[Config1]\r\n'
    printf 'K1=1\r\nK2=2\r\nK3=3\r\nK4=41\r\nK5=4\r\nK6=5\r\nK7=1\r\n'
    printf 'DPI_LEVEL=0\r\nWHEEL_STATUS=0\r\nMACRO_MODE2=0\r\n'
    for s in 1 2 3 4; do printf 'DPI_SET%s=%s\r\nDPI_SET_EN%s=1\r\n' $s $((s - 1)) $s; done
    printf 'LED_STATUS=0\r\nDPI_SPEED=4\r\nWHEEL_SPEED=2\r\nFIRE_TIME=8\r\n'
} > "$work/config.ini"
PYTHONPATH="$src/tools" PYTHONDONTWRITEBYTECODE=1 python3 -c '
import sys
from make_default_macros import macro_file
sys.stdout.buffer.write(macro_file([("Pause", 0, 1, [(ord("X"), 1, 60000), (ord("X"), 2, 0)])]))' \
    > "$work/Macro_EN.dat" || fail "cannot write Macro_EN.dat"

# Starts the program and its macro: the start key's first press switches host actions on, the
# second starts the macro, which is then in its pause.
start_in_pause() {
    port=$(e2e_free_port)
    log=$work/features.log
    rm -f "$log"
    e2e_start --virtual-mouse="$port" --virtual-mouse-log="$(e2e_windows_path "$log")"
    wid=$(e2e_wait_for_window "^${title}\$" 120) || fail "no window titled '$title' appeared within 120 s"
    vmouse state >/dev/null || fail "the virtual mouse does not answer on port $port"
    vmouse press 4 >/dev/null && vmouse release 4 >/dev/null || fail "button 4 cannot be pressed"
    sleep 1
    vmouse press 4 >/dev/null && vmouse release 4 >/dev/null
    sleep 2
    vmouse state | grep -q . || fail "the virtual mouse stopped answering"
}
seconds_since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }'; }

start_in_pause
closed_at=$EPOCHREALTIME
e2e_alt_f4 "$wid"
e2e_wait_for_exit 20 || fail "the program was still running 20 s after Alt+F4 during the macro's pause"
took=$(seconds_since "$closed_at")
[ $status -eq 0 ] || fail "the program exited with status $status"
awk -v s="$took" 'BEGIN { exit !(s < 5) }' || fail "the program took $took s to end after Alt+F4"
[ "$(tail -n1 "$log")" = "$exit_report" ] || fail "the last report was '$(tail -n1 "$log")'"

start_in_pause
unplugged_at=$EPOCHREALTIME
vmouse unplug >/dev/null || fail "the virtual mouse cannot be unplugged"
e2e_wait_for_exit 20 || fail "the program was still running 20 s after the mouse was unplugged during the macro's pause"
unplug_took=$(seconds_since "$unplugged_at")
awk -v s="$unplug_took" 'BEGIN { exit !(s < 5) }' || fail "the program took $unplug_took s to end after the unplug"
echo "PASS (ended $took s after Alt+F4, exit command last; $unplug_took s after an unplug)"
