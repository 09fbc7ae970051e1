#!/usr/bin/env bash
# End to end: what goes wrong around the program, each in a start of its own (each start after
# the first is a warm one: the scenario's Wine server stays up).
#   - a command line the program cannot use is explained on the standard output the program
#     inherited, with status 2, and --help with status 0, without a window;
#   - without a skin description the window cannot come up: one message names the file, and the
#     program ends before it ever talks to the mouse;
#   - without a mouse the program asks for it and ends, still saving the configuration; with the
#     virtual mouse's port taken it says so and ends without its window;
#   - without config.ini the built-in defaults load, and hand-edited values out of range reach
#     the mouse in range;
#   - a config.ini that cannot be written is told once per failed save and stays as it was;
#   - the factory reset answered No changes nothing; an import of a folder or of a file without
#     the exchange section is refused with status 1, config.ini left byte for byte;
#   - a config.ini the program cannot read (UTF-16 without its byte-order mark) is kept aside,
#     byte for byte, and the user told;
#   - a save that the file-size limit cuts short leaves config.ini whole, and the user told;
#   - a mask of noise still gives a window within seconds that closes at once;
#   - from a folder whose path is 300 characters long the program starts as from any other.
# Usage: test_faults.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
ini=$work/config.ini
shipped_config() { cp "$src/data/config.ini" "$ini"; e2e_set_title "$ini"; }

# ------------------------------------------------------------------------------------------------
# 1. Command lines the program cannot use, with no copy running: the fault and the usage on the
# standard output, status 2, no window; --help prints the usage with status 0.
run_alone() {  # ARGUMENTS...: status in $rc, standard output in $out
    timeout 60 "$wine_run" "$work/HXT_GMouse.exe" "$@" > "$work/alone.out" 2>/dev/null
    rc=$?
    out=$(tr -d '\r' < "$work/alone.out")
}
run_alone --virtual-mouse=70000
[ $rc -eq 2 ] || fail "--virtual-mouse=70000 ended with status $rc, not 2"
grep -q "^--virtual-mouse needs a port number from 1 to 65535, not '70000'" <<<"$out" && grep -q "^Usage: HXT_GMouse.exe" <<<"$out" ||
    fail "--virtual-mouse=70000 printed: $out"
run_alone --slot 6
[ "$rc" -eq 2 ] || fail "--slot 6 gave status $rc, not 2"
grep -q "^--slot needs a slot number from 1 to 5" <<<"$out" && grep -q "^Usage: HXT_GMouse.exe" <<<"$out" ||
    fail "--slot 6 did not print the fault and the usage: $out"
run_alone --export
[ "$rc" -eq 2 ] && grep -q "^Usage:" <<<"$out" || fail "--export without a file gave status $rc: $out"
run_alone --help
[ "$rc" -eq 0 ] && grep -q "^  --import FILE" <<<"$out" || fail "--help gave status $rc: $out"
no_window 'K-R7T' || fail "a command line that ends the program showed the window"
# The shipped exe knows no virtual mouse: the option is unknown, and no port is ever served.
shipped=${HXT_DIST_DIR:-$build/dist}/HXT_GMouse/HXT_GMouse.exe
port=$(e2e_free_port)
timeout 60 "$wine_run" "$shipped" --virtual-mouse="$port" > "$work/alone.out" 2>/dev/null &
shipped_pid=$!
listening() { "$e2e_py" -c 'import socket, sys; sys.exit(socket.socket().connect_ex(("127.0.0.1", int(sys.argv[1]))) != 0)' "$port"; }
while kill -0 $shipped_pid 2>/dev/null; do ! listening || fail "the shipped exe listens on port $port"; sleep $POLL_STEP; done
wait $shipped_pid
rc=$?
out=$(tr -d '\r' < "$work/alone.out")
[ $rc -eq 2 ] && grep -q "^unknown argument '--virtual-mouse=$port'" <<<"$out" && ! grep -q "virtual" <<<"$(sed 1d <<<"$out")" ||
    fail "the shipped exe took --virtual-mouse=$port: status $rc, it printed: $out"
! listening || fail "port $port is served after the shipped exe ended"
# Lean: no socket library, not even delay-loaded; stripped; small.
! grep -aqi ws2_32 "$shipped" || fail "the shipped exe imports the socket library"
! "${HXT_OBJDUMP:-x86_64-w64-mingw32-objdump}" -h "$shipped" | grep -q ' \.debug_' || fail "the shipped exe is not stripped"
[ "$(stat -c %s "$shipped")" -lt 3000000 ] || fail "the shipped exe has $(stat -c %s "$shipped") bytes"
step "bad command lines and --help; the shipped exe has no virtual mouse"

# ------------------------------------------------------------------------------------------------
# 2. Without a skin description: one message names the file (and no second one follows), and the
# program ends without a single report (so no host-mode button is left without the program that
# serves it).
mv "$work/skins/INI_EN/skin_color_en.ini" "$work/skin_color_en.ini.aside"
port=$(e2e_free_port)
log=$work/no-skin.log
e2e_start --virtual-mouse="$port" --virtual-mouse-log="$(e2e_windows_path "$log")"
box=$(e2e_wait_for_window '^HXT_GMouse$' 60) || fail "no message about the missing description appeared"
one_message() { [ "$(window_count '^HXT_GMouse$')" -eq 1 ]; }
e2e_holds 1 one_message || fail "more than one message about the missing description"
xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
xdotool key --clearmodifiers Return
e2e_wait_for_exit 30 || fail "the program was still running 30 s after the missing-file message"
[ ! -s "$log" ] || fail "the mouse received reports without a window: $(head -3 "$log")"
mv "$work/skin_color_en.ini.aside" "$work/skins/INI_EN/skin_color_en.ini"
step "a missing skin description"

# ------------------------------------------------------------------------------------------------
# 3. Without a mouse: the plug-in message, then the program ends; the configuration is still
# applied to Windows and saved (the applied copy appears in config.ini).
sed -i '/^\[Config6\]/,/^\[/{/^\[Config6\]/d;/^[^[]/d}' "$ini"
grep -q '^\[Config6\]' "$ini" && fail "cannot remove Config6 from the test's config.ini"
e2e_start
answer_message_with_return "asking for the mouse"
no_window "^${title}\$" || fail "the main window showed without a mouse"
e2e_wait_for_exit 30 || fail "the program was still running 30 s after the plug-in message"
[ $status -eq 0 ] || fail "the program exited with status $status without a mouse"
grep -q '^\[Config6\]' "$ini" || fail "the configuration was not saved after the plug-in message"
step "no mouse"

# 4. The virtual mouse's port is taken: the program says so and ends without its window.
port=$(e2e_free_port)
"$e2e_py" -c 'import socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", int(sys.argv[1]))); s.listen(); time.sleep(60)' "$port" >/dev/null 2>&1 &
holder=$!
listening() { (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; }
e2e_poll 20 listening || fail "the port holder does not listen"
e2e_start --virtual-mouse="$port"
answer_message_with_return "about the port that is taken"
kill $holder 2>/dev/null
no_window "^${title}\$" || fail "the main window showed without its mouse"
e2e_wait_for_exit 30 || fail "the program was still running 30 s after the message about the port"
step "the virtual mouse's port taken"

# ------------------------------------------------------------------------------------------------
# 5. Without config.ini the built-in defaults load: button 1 keeps the left click (07 10 01 01).
rm -f "$ini"
title='.*K-R7T.*'  # the defaults' language, whichever it is
LOG_NAME=defaults.log e2e_start_with_virtual_mouse
e2e_poll 20 log_has '07 10 01 01' || fail "without config.ini button 1 lost the left click: $(logged)"
e2e_close "without config.ini"

# 6. Hand-edited values out of range reach the mouse in range.
shipped_config
slot=$(ini_value Init CurConfig)
sed -i "/^\[Config$slot\]/,/^\[/ { s/^LED_STATUS=.*/LED_STATUS=9999\r/; s/^FIRE_TIME=.*/FIRE_TIME=100000\r/ }" "$ini"
LOG_NAME=ranges.log e2e_start_with_virtual_mouse
e2e_poll 20 log_has '07 12' || fail "no fire interval report"
grep '07 12' "$log" | grep -q "07 12 $(printf '%02X' $((300 / 8)))" || fail "FIRE_TIME=100000 reached the mouse as $(grep '07 12' "$log")"
e2e_close "with values out of range"
step "defaults and values out of range"

# ------------------------------------------------------------------------------------------------
# 7. A config.ini that cannot be written (immutable: root writes past a read-only file): the
# start-up's apply and then the apply control each tell the user once, in a message of the
# program, and the file stays as it was.
shipped_config
if chattr +i "$ini" 2>/dev/null; then
    trap 'chattr -i "$ini" 2>/dev/null; e2e_cleanup' EXIT
    before=$(sha1sum < "$ini")
    port=$(e2e_free_port)
    e2e_start --virtual-mouse="$port"
    wid=$(e2e_wait_for_window "^${title}\$" 60) || fail "no window with a read-only config.ini"
    answer_message_with_ok "the start-up's failed save"
    e2e_geometry
    click main apply
    answer_message_with_ok "the apply's failed save"
    e2e_holds 1 no_window '^HXT_GMouse$' || fail "a further message came after the apply's"
    [ "$(sha1sum < "$ini")" = "$before" ] || fail "the read-only config.ini changed"
    e2e_close "with a read-only config.ini"
    chattr -i "$ini"
    step "a config.ini that cannot be written"
else
    echo "note: chattr +i is not available here; the read-only config.ini case is not run"
fi

# ------------------------------------------------------------------------------------------------
# 7b. The factory reset asks first: No (the default button) changes nothing, in the file or the
# mouse. An import of a folder, or of a file without the exchange section, is refused.
shipped_config
LOG_NAME=reset.log e2e_start_with_virtual_mouse
e2e_poll 20 log_has '07 12' || fail "no start-up apply before the reset"
before=$(sha1sum < "$ini")
reports=$(logged | wc -l)
click main reset
answer_message_with_return "asking before the factory reset"
e2e_poll 20 no_window '^HXT_GMouse$' || fail "the reset's question stayed after Return"
e2e_holds 1 no_window '^HXT_GMouse$' || fail "a message followed the reset's No"
[ "$(sha1sum < "$ini")" = "$before" ] && [ "$(logged | wc -l)" -eq "$reports" ] || fail "the reset's No changed something"
mkdir -p "$work/empty-folder"
printf '[Config6]\r\nK1=1\r\nFIRE_TIME=16\r\n' > "$work/not-exchange.ini"
for source in "$work/empty-folder" "$work/not-exchange.ini"; do
    timeout 60 "$wine_run" "$app/HXT_GMouse.exe" --import "$(e2e_windows_path "$source")" > "$work/import.out" 2>/dev/null
    rc=$?
    [ $rc -eq 1 ] || fail "--import of $(basename "$source") ended with status $rc, not 1: $(cat "$work/import.out")"
done
[ "$(sha1sum < "$ini")" = "$before" ] || fail "a refused import changed config.ini"
e2e_close "after the refused imports"
step "the reset's question and refused imports"

# 7c. A config.ini in UTF-16 without its byte-order mark reads as nothing: kept aside byte for byte
# and the user told, never saved over.
shipped_config
iconv -f ascii -t UTF-16LE "$ini" > "$work/utf16.ini" && cp "$work/utf16.ini" "$ini"
rm -f "$ini.unreadable"
saved_title=$title
title='.*K-R7T.*'  # the defaults' language
e2e_start --virtual-mouse="$(e2e_free_port)"
answer_message_with_ok "the unreadable config.ini"
cmp -s "$work/utf16.ini" "$ini.unreadable" || fail "the unreadable config.ini was not kept aside byte for byte"
wid=$(e2e_wait_for_window "^${title}\$" 60) || fail "no window after the unreadable config.ini"
e2e_close "after the unreadable config.ini"
title=$saved_title
step "an unreadable config.ini kept aside"

# 7d. A save cut short by the file-size limit (3 KiB; the apply's applied copy makes the file
# larger): config.ini stays byte for byte as it was, and the user is told.
shipped_config
sed -i '/^\[Config6\]/,/^\[/{/^\[Config6\]/d;/^[^[]/d}' "$ini"
while [ "$(stat -c %s "$ini")" -lt 3000 ]; do printf ';\r\n' >> "$ini"; done
before=$(sha1sum < "$ini")
bash -c 'trap "" XFSZ; ulimit -f 3; exec "$@"' limited "$wine_run" "$app/HXT_GMouse.exe" --virtual-mouse="$(e2e_free_port)" &
pid=$!
answer_message_with_ok "the save cut short by the size limit"
[ "$(sha1sum < "$ini")" = "$before" ] || fail "a save cut short changed config.ini"
ls "$ini".saving >/dev/null 2>&1 && fail "the cut save left its copy beside config.ini"
wid=$(e2e_wait_for_window "^${title}\$" 60) || fail "no window after the save cut short"
e2e_close "after the save cut short"
step "a save cut short by the size limit"

# ------------------------------------------------------------------------------------------------
# 8. A mask of noise, at the window's size, still gives a window within seconds that Alt+F4 ends.
shipped_config
read -r mask_w mask_h < <(identify -format '%w %h' "$work/skins/main_mask.jpg")
convert -size "${mask_w}x${mask_h}" pattern:gray50 -type Grayscale "$work/skins/main_mask.jpg"
started=$SECONDS
e2e_start --virtual-mouse="$(e2e_free_port)"
wid=$(e2e_wait_for_window "^${title}\$" 60) || fail "no window with a noisy mask"
e2e_close "with a noisy mask"
[ $((SECONDS - started)) -le 40 ] || fail "a noisy mask took $((SECONDS - started)) s from start to exit"
cp "$build/skins/main_mask.jpg" "$work/skins/main_mask.jpg"
step "a noisy mask"

# 10. Unpacked into a folder whose path is 300 characters long as the program sees it, the program
# finds its files and starts as from any other: the English title says config.ini was read (the
# defaults are Chinese), and no message says the macros or config.ini cannot be read or saved.
# Only Wine's loader starts it there: Wine's CreateProcessW takes no program path beyond MAX_PATH.
d99=$(printf 'd%.0s' {1..99})
app=$work
while [ $((${#app} + 100)) -lt 298 ]; do app=$app/$d99; done
app=$app/${d99:0:$((298 - ${#app} - 1))}
[ "${#app}" -eq 298 ] && mkdir -p "$app" || fail "cannot make the folder $app"
e2e_lay_out
e2e_language 1
e2e_start --virtual-mouse="$(e2e_free_port)"
e2e_wait_for_window "^(${title}|HXT_GMouse)\$" 60 >/dev/null || fail "neither a window nor a message from the long folder"
e2e_holds 1 no_window '^HXT_GMouse$' ||
    { grab "$shots/long-folder.png" 0 0 1280 1024; fail "a message of the program from the long folder, see $shots/long-folder.png"; }
wid=$(e2e_wait_for_window "^${title}\$" 5) || fail "no window titled '$title' from the long folder"
e2e_close "from the long folder"
step "a folder 300 characters deep"
echo "PASS ($((SECONDS - e2e_started)) s)"
