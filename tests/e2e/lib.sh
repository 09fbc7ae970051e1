# Helpers of the end-to-end tests. A test sources this file and calls e2e_init "$@" first; it
# then has: $exe, $src, $build, $work (a scratch folder, removed at the end), a display, a Wine
# prefix of the end-to-end tests alone, and the functions below.

# Stops the test with a message; the EXIT trap cleans up.
fail() { echo "FAIL: $*" >&2; exit 1; }

e2e_init() {
    exe=${1:?usage: $0 PATH/TO/HXT_GMouse.exe}
    src=${HXT_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
    build=${HXT_BUILD_DIR:-$(dirname "$exe")}
    if [ -z "${DISPLAY:-}" ]; then
        exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
    fi
    # The tests' prefix, not the one ./run.sh uses: a copy a developer runs there holds the
    # single-copy mutex of that prefix, and the final `wineserver -k` stops nothing but the
    # tests' processes. No window manager runs here, so Wine manages no window itself.
    export HXT_WINEPREFIX=$build/wineprefix-tests HXT_WINE_UNMANAGED=1
    export WINEPREFIX=$HXT_WINEPREFIX
    wine_run=$src/tools/wine-run.sh
    work=$(mktemp -d)
    pid=""
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    wineserver -k 2>/dev/null
    rm -rf "$work"
}

# The exe with the shipped data and the skin laid out beside it in $work, as the build does.
# Sets $title, the main window's title for the configured language.
e2e_lay_out() {
    cp "$exe" "$work/" || fail "cannot copy $exe"
    cmake -DSRC="$src/data" -DDST="$work" -P "$src/cmake/lay_out_data.cmake" || fail "cannot lay out data/"
    [ -d "$build/skins" ] || fail "no generated skin in $build/skins"
    cp -r "$build/skins" "$work/" || fail "cannot copy the skins"
    [ -f "$work/config.ini" ] || printf '[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n' > "$work/config.ini"
    local ver_sel
    ver_sel=$(grep -m1 -a '^VER_SEL=' "$work/config.ini" | tr -d '\r' | cut -d= -f2)
    if [ "$ver_sel" = 1 ]; then title="K-R7T GAMING MOUSE"; else title="KestrixK-R7T游戏鼠标"; fi
}

# Starts the laid-out exe with the arguments given, in the background; its process id in $pid.
e2e_start() {
    "$wine_run" "$work/HXT_GMouse.exe" "$@" &
    pid=$!
}

# Starts the laid-out exe with a virtual mouse on a free port ($port) and waits for its window:
# its id in $wid, its place and size in $X $Y $WIDTH $HEIGHT.
e2e_start_with_virtual_mouse() {
    port=$(e2e_free_port)
    e2e_start "--virtual-mouse=$port" "$@"
    wid=$(e2e_wait_for_window 'K-R7T' 120) || fail "no window appeared within 120 s"
    sleep 1.5
    eval "$(xdotool getwindowgeometry --shell "$wid")"
}

# The id of a visible window whose title matches the regular expression $1, or nothing (and
# status 1) after $2 seconds or when the program ended.
e2e_wait_for_window() {
    local deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null && return 1
        sleep 0.5
    done
    return 1
}

# Waits up to $1 seconds for the program to end; its exit status in $status. Status 1 when it
# was still running.
e2e_wait_for_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
    kill -0 "$pid" 2>/dev/null && return 1
    wait "$pid"
    status=$?
    pid=""
    return 0
}

# Alt+F4 on window $1.
e2e_alt_f4() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    xdotool key --clearmodifiers alt+F4
}

# A TCP port of 127.0.0.1 that is free right now.
e2e_free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# A Linux path as the program under Wine sees it.
e2e_windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Polls the command given until it succeeds, at most $1 seconds; status 1 when it never did.
e2e_poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.2
    done
}

# The entry tagged TAG (field 0, the program's name for it) of description LAYOUT (main,
# advance, color or warning) in language LANG (VER_SEL 1 English, else Chinese), read from the
# skin laid out in $work, as "X Y WIDTH HEIGHT". SECTION defaults to the clickable entries;
# the advanced description places the macro editor's controls in EDIT and MACRODISPLAY.
entry_rect() {  # LAYOUT TAG LANG [SECTION]
    local file
    case "$1" in
        warning) file=INI_CN/LBWarning.ini; [ "$3" = 1 ] && file=INI_EN/LBWarning_en.ini ;;
        *) file=INI_CN/skin_$1.ini; [ "$3" = 1 ] && file=INI_EN/skin_$1_en.ini ;;
    esac
    iconv -f UTF-16 -t UTF-8 "$work/skins/$file" | tr -d '\r' | awk -F'[=,]' -v tag="$2" -v want="[${4:-BUTTONPOS}]" '
        /^\[/ { section = $0; next }
        section == want && $2 == tag { print $3, $4, $5, $6; exit }'
}
# Its centre as "X Y".
entry() {  # LAYOUT TAG LANG [SECTION]
    local ex ey ew eh
    read -r ex ey ew eh < <(entry_rect "$@")
    [ -n "${eh:-}" ] || fail "no entry $2 in the $1 description"
    echo "$((ex + ew / 2)) $((ey + eh / 2))"
}

# A left click (or button $3) at screen point $1 $2, with time for the program to answer.
click_at() { xdotool mousemove "$1" "$2" sleep 0.3 click "${3:-1}"; sleep 0.5; }
# A click on the centre of an entry (see entry) of the window at $X $Y in language $lang.
click() {  # LAYOUT TAG [SECTION]
    local cx cy
    read -r cx cy < <(entry "$1" "$2" "$lang" "${3:-}")
    click_at "$((X + cx))" "$((Y + cy))"
}

# Screenshots go to $shots, the build's screenshots folder.
e2e_screenshots() { shots=$build/screenshots; mkdir -p "$shots"; }
# The screen's rectangle X Y WIDTH HEIGHT saved as $shots/NAME.png.
e2e_shot() {  # NAME X Y WIDTH HEIGHT
    import -window root "$work/root.png" || fail "cannot take a screenshot"
    convert "$work/root.png" -crop "${4}x${5}+${2}+${3}" +repage "$shots/$1.png"
}

# The virtual mouse of the running program (on $port): one command, and the feature reports it
# received since the last clear, one per line.
vmouse() { python3 "$src/tools/vmouse.py" "$port" "$@"; }
features() { vmouse features | grep -v '^OK$'; }

# The value of KEY in [SECTION] of the laid-out config.ini (UTF-16 or plain, as the program wrote it).
ini_value() {  # SECTION KEY
    local ini=$work/config.ini text
    if head -c2 "$ini" | od -An -tx1 | grep -q 'ff fe'; then text=$(iconv -f UTF-16 -t UTF-8 "$ini"); else text=$(cat "$ini"); fi
    printf '%s\n' "$text" | tr -d '\r' | awk -F= -v s="[$1]" -v k="$2" '/^\[/ { in_s = ($0 == s); next } in_s && $1 == k { print $2; exit }'
}
# For polls, which take a command: KEY of SECTION is VALUE now.
ini_is() { [ "$(ini_value "$1" "$2")" = "$3" ]; }
