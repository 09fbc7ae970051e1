#!/usr/bin/env bash
# End to end: the program starts from its shipped data and shows its window under the title of
# the configured language, a second copy leaves at once, and Alt+F4 ends the program.
# Usage: test_startup.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR; needs a display)
set -uo pipefail
exe=${1:?usage: test_startup.sh PATH/TO/HXT_GMouse.exe}
src=${HXT_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
build=${HXT_BUILD_DIR:-$(dirname "$exe")}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "$@"
fi

# A prefix of its own: a copy a developer runs elsewhere holds the single-copy mutex of its own
# prefix, and the final `wineserver -k` stops nothing but this test's processes.
export HXT_WINEPREFIX=$build/wineprefix-e2e
export WINEPREFIX=$HXT_WINEPREFIX
wine_run=$src/tools/wine-run.sh

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The exe with the shipped data laid out beside it, as the build does.
cp "$exe" "$work/" || fail "cannot copy $exe"
cmake -DSRC="$src/data" -DDST="$work" -P "$src/cmake/lay_out_data.cmake" || fail "cannot lay out data/"
[ -f "$work/config.ini" ] || printf '[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n' > "$work/config.ini"
ver_sel=$(grep -m1 -a '^VER_SEL=' "$work/config.ini" | tr -d '\r' | cut -d= -f2)
if [ "$ver_sel" = 1 ]; then title="K-R7T GAMING MOUSE"; else title="KestrixK-R7T游戏鼠标"; fi

# Visible window titled exactly $title, or nothing after $2 seconds.
wait_for_window() {
    local deadline=$((SECONDS + $1)) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.5
    done
    return 1
}

# 1. Start-up: the window appears (the first run in a fresh prefix also creates the prefix).
"$wine_run" "$work/HXT_GMouse.exe" &
pid=$!
wid=$(wait_for_window 120) || fail "no window titled '$title' appeared within 120 s"
kill -0 "$pid" 2>/dev/null || fail "the program ended right after showing its window"

# 2. The window shows something: many colours and real contrast inside its area.
sleep 1
mkdir -p "$build/screenshots"
shot=$build/screenshots/startup.png
import -window root "$shot" || fail "cannot take a screenshot"
eval "$(xdotool getwindowgeometry --shell "$wid")"
[ "$WIDTH" -ge 533 ] && [ "$HEIGHT" -ge 395 ] || fail "window is only ${WIDTH}x${HEIGHT} pixels"
read -r deviation colours < <(convert "$shot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
    -format '%[fx:standard_deviation] %k' info:)
awk -v d="$deviation" 'BEGIN { exit !(d > 0.02) }' || fail "window looks blank (deviation $deviation), see $shot"
[ "$colours" -ge 4 ] || fail "window has only $colours colours, see $shot"
echo "screenshot: $shot"

# 3. A second copy finds the first one's mutex and leaves by itself; the first keeps running.
start=$SECONDS
timeout 30 "$wine_run" "$work/HXT_GMouse.exe"
status=$?
[ $status -ne 124 ] || fail "the second copy was still running after 30 s"
[ $((SECONDS - start)) -le 15 ] || fail "the second copy took $((SECONDS - start)) s to leave"
kill -0 "$pid" 2>/dev/null || fail "the first copy ended when the second started"
[ -n "$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null)" ] || fail "the first window went away"

# 4. Alt+F4 on the window ends the program.
xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
xdotool key --clearmodifiers alt+F4
deadline=$((SECONDS + 20))
while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.5; done
kill -0 "$pid" 2>/dev/null && fail "the program was still running 20 s after Alt+F4"
wait "$pid"
status=$?
pid=""
[ $status -eq 0 ] || fail "the program exited with status $status"
echo "PASS"
