#!/usr/bin/env bash
# End to end: the zip the build leaves for Windows holds exactly the folder beside it (the exe,
# config.ini as delivered, both macro files and the skins); unpacked into an empty folder, the
# program starts from there with the virtual mouse, shows its window without any message, downloads
# the configuration into the mouse and ends on Alt+F4.
# Usage: test_dist.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR, HXT_DIST_DIR)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

dist=${HXT_DIST_DIR:-$build/dist}
zip=$dist/HXT_GMouse.zip
[ -f "$zip" ] || fail "no $zip: the build did not make it"

# 1. The zip unpacks into one folder, the same as the one beside it, with all the program needs.
(cd "$work" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
[ "$(ls -A "$work")" = HXT_GMouse ] || fail "the zip does not hold just the folder HXT_GMouse: $(ls -A "$work")"
folder=$work/HXT_GMouse
diff -r "$dist/HXT_GMouse" "$folder" >/dev/null || fail "the zip differs from $dist/HXT_GMouse"
for f in HXT_GMouse.exe config.ini Macro_EN.dat Macro_CN.dat skins/INI_EN skins/INI_CN; do
    [ -e "$folder/$f" ] || fail "the folder lacks $f"
done
for f in config.ini Macro_EN.dat Macro_CN.dat; do
    cmp -s "$src/data/$f" "$folder/$f" || fail "$f is not the delivered one"
done
cmp -s "$exe" "$folder/HXT_GMouse.exe" || fail "the exe in the folder is not the one built"

# 2. Started from the unpacked folder, it comes up on the virtual mouse with no message box (a
# missing file is told in one) and downloads the current slot into the mouse.
port=$(e2e_free_port)
"$wine_run" "$folder/HXT_GMouse.exe" --virtual-mouse="$port" &
pid=$!
wid=$(e2e_wait_for_window 'K-R7T' 120) || fail "no window of the program appeared within 120 s"
vmouse --wait 30 state >/dev/null || fail "the virtual mouse does not answer on port $port"
sent=$(features)
for command in 10 11 09 12; do
    echo "$sent" | grep -q "^07 $command " || fail "start-up sent no 07 $command report; it sent:
$sent"
done
[ -z "$(xdotool search --onlyvisible --name '^HXT_GMouse$' 2>/dev/null)" ] || fail "a message box came up at start-up"

# 3. Alt+F4 ends it.
e2e_alt_f4 "$wid"
e2e_wait_for_exit 20 || fail "the program was still running 20 s after Alt+F4"
[ $status -eq 0 ] || fail "the program exited with status $status"
echo "PASS"
