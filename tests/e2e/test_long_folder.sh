#!/usr/bin/env bash
# End to end: unpacked into a folder whose path is 300 characters long as the program sees it,
# the program finds its files there and starts as from any other folder. Only Wine's loader can
# start it there: Wine's CreateProcessW takes no program path beyond MAX_PATH.
# Usage: test_long_folder.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR; needs a display)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_screenshots

# Folders of 99 characters and one of the rest, down to 298 characters: "Z:" makes 300.
top=$work
d99=$(printf 'd%.0s' {1..99})
while [ $((${#work} + 100)) -lt 298 ]; do work=$work/$d99; done
work=$work/${d99:0:$((298 - ${#work} - 1))}
trap 'work=$top; e2e_cleanup' EXIT
[ "${#work}" -eq 298 ] && mkdir -p "$work" || fail "cannot make the folder $work"
e2e_lay_out
grep -aq '^VER_SEL=1' "$work/config.ini" || fail "the shipped config.ini is not an English one"

# The English title says config.ini was read (the defaults are Chinese), the window that the
# skin was, and no message that the macros were not or that config.ini cannot be saved.
e2e_start --virtual-mouse="$(e2e_free_port)"
e2e_wait_for_window "^(${title}|HXT_GMouse)\$" 120 >/dev/null || fail "neither a window nor a message within 120 s"
sleep 1
[ -z "$(xdotool search --onlyvisible --name '^HXT_GMouse$' 2>/dev/null)" ] ||
    { import -window root "$shots/long-folder.png"; fail "a message of the program, see $shots/long-folder.png"; }
wid=$(e2e_wait_for_window "^${title}\$" 5) || fail "no window titled '$title'"
e2e_alt_f4 "$wid"
e2e_wait_for_exit 20 || fail "the program was still running 20 s after Alt+F4"
[ $status -eq 0 ] || fail "the program exited with status $status"
echo "PASS"
