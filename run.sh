#!/usr/bin/env bash
# Installs what is missing, builds the Windows program (not the tests) and runs it under Wine;
# extra arguments go to the program. Without a display it runs on a private Xvfb, saves a
# screenshot of the window to build/screenshots/run.png and ends the program (HXT_KEEP_RUNNING=1
# keeps it up).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/tools/common.sh"
hxt_ensure_packages "${HXT_WINE_PACKAGES[@]}"
# The program and the skin it loads; the data beside it is laid out after the link.
hxt_build_win64 --target HXT_GMouse hxt_skin

exe=$HXT_ROOT/build/win64/HXT_GMouse.exe
args=("$@")
# Wine never sees a mouse of ours: unless the arguments name one, a virtual mouse stands in,
# served on 127.0.0.1 (port 27815 when free, else any free one).
if [[ " ${args[*]-} " != *" --virtual-mouse="* ]]; then
    port=$(python3 -c '
import socket
for wanted in (27815, 0):
    s = socket.socket()
    try:
        s.bind(("127.0.0.1", wanted))
    except OSError:
        continue
    print(s.getsockname()[1])
    break')
    args+=("--virtual-mouse=$port")
    echo "Virtual mouse on 127.0.0.1:$port; talk to it with e.g."
    echo "  tools/vmouse.py $port state        tools/vmouse.py $port press 6        tools/vmouse.py $port unplug"
    echo "  printf 'features\\n' | nc -q1 127.0.0.1 $port"
fi

if [ -n "${DISPLAY:-}" ]; then
    "$HXT_ROOT/tools/wine-run.sh" --prepare-only
    exec "$HXT_ROOT/tools/wine-run.sh" "$exe" "${args[@]}"
fi

# A free display number: no lock file and no socket.
display=99
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
program_pid=""
stop() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    # Let this program's Wine processes leave before their display goes away.
    WINEPREFIX=$HXT_WINEPREFIX timeout 10 wineserver -w 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap stop EXIT
for _ in $(seq 1 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on $DISPLAY" >&2; exit 1; }
# A new prefix takes a while; made first, so the wait for the window below is the program's alone.
"$HXT_ROOT/tools/wine-run.sh" --prepare-only

"$HXT_ROOT/tools/wine-run.sh" "$exe" "${args[@]}" &
program_pid=$!

# Both window titles contain "K-R7T".
echo "Waiting for the window of HXT_GMouse.exe ..."
window=""
for _ in $(seq 1 240); do
    window=$(xdotool search --onlyvisible --name 'K-R7T' 2>/dev/null | head -n1) || true
    [ -n "$window" ] && break
    kill -0 "$program_pid" 2>/dev/null || { echo "HXT_GMouse.exe ended before showing its window" >&2; exit 1; }
    sleep 0.5
done
[ -n "$window" ] || { echo "No HXT_GMouse window appeared" >&2; exit 1; }
sleep 1  # first paint
mkdir -p "$HXT_ROOT/build/screenshots"
import -window root "$HXT_ROOT/build/screenshots/run.png"
echo "$HXT_ROOT/build/screenshots/run.png"

if [ "${HXT_KEEP_RUNNING:-0}" = 1 ]; then
    echo "Running on DISPLAY=$DISPLAY; stops when the program ends."
    wait "$program_pid" || true
    program_pid=""
    exit 0
fi

xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers alt+F4
for _ in $(seq 1 40); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.5; done
kill -0 "$program_pid" 2>/dev/null || program_pid=""
exit 0
