# Helpers of the end-to-end tests. A scenario sources this file and calls e2e_init "$@" first; it
# then has: $exe, $src, $build, $work (a scratch folder, removed at the end), $app (the folder the
# program runs from, $work unless a scenario says otherwise), $shots (the build's screenshots
# folder), a display, a Wine prefix of the end-to-end tests alone whose server stays up between
# the scenario's starts, and the functions below.
#
# Nothing here waits a fixed time for the program: every wait polls what it waits for, every
# POLL_STEP seconds, up to a generous deadline, so a fast machine is not slowed and one whose
# cores are busy compiling still passes. Only what must not happen is watched for a while
# (e2e_holds), where no later event can show it did not.

POLL_STEP=0.15
# The system's Python starts in tens of milliseconds; a version manager's shim in front of it can
# take half a second a call, and the polls call Python often.
if [ -x /usr/bin/python3 ]; then e2e_py=/usr/bin/python3; else e2e_py=python3; fi

# Stops the test with a message; the EXIT trap cleans up. A scenario may add to what a failure
# prints through e2e_on_fail.
e2e_on_fail=""
fail() {
    echo "FAIL: $*" >&2
    [ -n "$e2e_on_fail" ] && $e2e_on_fail >&2
    exit 1
}

# Scenario steps with the seconds since the start, so a slow step shows in the log.
step() { echo "[$((SECONDS - e2e_started)) s] $*"; }

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
    e2e_dir=$src/tests/e2e
    work=$(mktemp -d)
    app=$work
    pid=""
    logger_pid=""
    e2e_started=$SECONDS
    trap e2e_cleanup EXIT
    shots=$build/screenshots
    mkdir -p "$shots"
    # A server left by an earlier run may belong to another display. A persistent server of our
    # own keeps Wine's own processes up between the scenario's starts: only the first start is
    # a cold one.
    "$wine_run" --prepare-only || fail "cannot prepare the Wine prefix"
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    wineserver -p || fail "cannot start the Wine server"
}

e2e_cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$logger_pid" ] && kill "$logger_pid" 2>/dev/null
    wineserver -k 2>/dev/null
    rm -rf "$work"
}

# ------------------------------------------------------------------------------------------------
# Polls.

# Polls the command given until it succeeds, at most $1 seconds; status 1 when it never did.
e2e_poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep $POLL_STEP
    done
}

# The command given keeps succeeding for $1 seconds; status 1 as soon as it does not. Only for
# what must NOT happen and has no later event to wait for: absence can only be watched.
e2e_holds() {
    local until
    until=$(($(date +%s%N) + $(awk -v s="$1" 'BEGIN { printf "%d", s * 1e9 }')))
    shift
    while [ "$(date +%s%N)" -lt $until ]; do
        "$@" || return 1
        sleep $POLL_STEP
    done
    "$@"
}

# ------------------------------------------------------------------------------------------------
# The program.

# The exe with the shipped data and the skin laid out in $app, as the build does. Sets $title,
# the main window's title for the configured language.
e2e_lay_out() {
    cp "$exe" "$app/" || fail "cannot copy $exe"
    cmake -DSRC="$src/data" -DDST="$app" -P "$src/cmake/lay_out_data.cmake" || fail "cannot lay out data/"
    [ -d "$build/skins" ] || fail "no generated skin in $build/skins"
    cp -r "$build/skins" "$app/" || fail "cannot copy the skins"
    [ -f "$app/config.ini" ] || printf '[Init]\r\nCurConfig=1\r\nVER_SEL=1\r\n' > "$app/config.ini"
    e2e_set_title "$app/config.ini"
}

title_en="K-R7T GAMING MOUSE"
title_cn="KestrixK-R7T游戏鼠标"
# $title for the language the config.ini $1 configures; $lang its VER_SEL.
e2e_set_title() {
    lang=$(value_in "$1" Init VER_SEL)
    if [ "$lang" = 1 ]; then title=$title_en; else title=$title_cn; fi
}
# Writes VER_SEL=$1 into the program's config.ini and sets $title and $lang.
e2e_language() {
    sed -i "s/^VER_SEL=.*/VER_SEL=$1\r/" "$app/config.ini"
    e2e_set_title "$app/config.ini"
}

# Starts the program in $app with the arguments given, in the background; its process id in
# $pid.
e2e_start() {
    "$wine_run" "$app/HXT_GMouse.exe" "$@" &
    pid=$!
}

# Starts the program with a virtual mouse on a free port ($port), its reports logged to
# $work/LOG-NAME ($log, default features.log), and waits until its window is up, painted and
# the mouse answers: the window's id in $wid, its place and size in $X $Y $WIDTH $HEIGHT.
e2e_start_with_virtual_mouse() {  # [ARGUMENTS...]
    port=$(e2e_free_port)
    log=$work/${LOG_NAME:-features.log}
    rm -f "$log"
    e2e_start "--virtual-mouse=$port" "--virtual-mouse-log=$(e2e_windows_path "$log")" "$@"
    e2e_wait_for_main_window
    vmouse --wait 30 state >/dev/null || fail "the virtual mouse does not answer on port $port"
}

# Waits for the main window titled $title: $wid, $X $Y $WIDTH $HEIGHT, and its first paint.
e2e_wait_for_main_window() {
    wid=$(e2e_wait_for_window "^${title}\$" 120) || fail "no window titled '$title' appeared within 120 s"
    e2e_geometry
    e2e_poll 30 window_painted || fail "the window stayed blank, see $work/painted.png"
}
e2e_geometry() { eval "$(xdotool getwindowgeometry --shell "$wid")"; }
# The window shows something: real contrast inside its area.
window_painted() {
    local deviation
    grab "$work/painted.png" "$X" "$Y" "$WIDTH" "$HEIGHT" || return 1
    deviation=$(convert "$work/painted.png" -format '%[fx:standard_deviation]' info:)
    awk -v d="$deviation" 'BEGIN { exit !(d > 0.02) }'
}

# The id of a visible window whose title matches the regular expression $1, or nothing (and
# status 1) after $2 seconds or when the program ended.
e2e_wait_for_window() {
    local deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null && return 1
        sleep $POLL_STEP
    done
    return 1
}
# No visible window's title matches $1.
no_window() { [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]; }
window_count() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

# Waits up to $1 seconds for the program to end; its exit status in $status. Status 1 when it
# was still running.
e2e_wait_for_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep $POLL_STEP; done
    kill -0 "$pid" 2>/dev/null && return 1
    wait "$pid"
    status=$?
    pid=""
    return 0
}

# Alt+F4 on window $1, once the keyboard's focus is there: without a window manager the focus
# may still be on a window the test clicked before.
e2e_alt_f4() {
    has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] || { xdotool windowfocus "$1" 2>/dev/null; false; }; }
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    e2e_poll 10 has_focus "$1" || echo "note: window $1 did not report the focus; Alt+F4 goes anyway"
    xdotool key --clearmodifiers alt+F4
}
# Alt+F4 on the main window; the program must end with status 0.
# What every thread of the program's process is doing, into $shots/NAME.txt, for a hang.
e2e_dump_threads() {  # NAME
    local wpid
    wpid=$(wine tasklist.exe 2>/dev/null | tr -d '\r' | awk '/HXT_GMouse/ { print $2; exit }')
    { echo "Windows process ${wpid:-not found}"; [ -n "$wpid" ] && timeout 60 winedbg --command "bt all" 2>&1; } \
        > "$shots/$1.txt"
}
e2e_close() {  # [WHAT]
    e2e_alt_f4 "$wid"
    e2e_wait_for_exit 30 || { grab "$shots/close-stuck.png" 0 0 1280 1024; e2e_dump_threads close-stuck;
        fail "the program was still running 30 s after Alt+F4${1:+ ($1)}, see $shots/close-stuck.png and .txt"; }
    [ "$status" -eq 0 ] || fail "the program exited with status $status after Alt+F4${1:+ ($1)}"
}

# The program's message box (titled HXT_GMouse): it appears, it is the only one, and Return
# answers it. $1 says what it is about.
answer_message_with_return() {
    local box
    box=$(e2e_wait_for_window '^HXT_GMouse$' 60) || fail "no message $1 appeared"
    [ "$(window_count '^HXT_GMouse$')" -eq 1 ] || fail "more than one message $1"
    xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
    xdotool key --clearmodifiers Return
}
# The one message box shown is answered with its OK button; fails when there is none or more,
# or when it stays.
answer_message_with_ok() {  # WHAT
    local box count X Y WIDTH HEIGHT
    box=$(e2e_wait_for_window '^HXT_GMouse$' 30) || fail "$1 was not told"
    count=$(window_count '^HXT_GMouse$')
    [ "$count" -eq 1 ] || fail "$1 was told $count times"
    eval "$(xdotool getwindowgeometry --shell "$box")"
    xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT - 20))" click 1
    e2e_poll 20 no_window '^HXT_GMouse$' || fail "the message about $1 stayed after its OK button"
}

# A TCP port of 127.0.0.1 that is free right now.
e2e_free_port() {
    "$e2e_py" -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# A Linux path as the program under Wine sees it.
e2e_windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# ------------------------------------------------------------------------------------------------
# Where to click: the skin descriptions the program ships.

# The entry tagged TAG (field 0, the program's name for it) of description LAYOUT (main,
# advance, color or warning) in language LANG (VER_SEL 1 English, else Chinese), read from the
# skin in $app, as "X Y WIDTH HEIGHT". SECTION defaults to the clickable entries;
# the advanced description places the macro editor's controls in EDIT and MACRODISPLAY.
entry_rect() {  # LAYOUT TAG LANG [SECTION]
    local file
    case "$1" in
        warning) file=INI_CN/LBWarning.ini; [ "$3" = 1 ] && file=INI_EN/LBWarning_en.ini ;;
        *) file=INI_CN/skin_$1.ini; [ "$3" = 1 ] && file=INI_EN/skin_$1_en.ini ;;
    esac
    iconv -f UTF-16 -t UTF-8 "$app/skins/$file" | tr -d '\r' | awk -F'[=,]' -v tag="$2" -v want="[${4:-BUTTONPOS}]" '
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
# The entry's centre on the screen, in the window at $X $Y in language $lang.
entry_on_screen() {  # LAYOUT TAG [SECTION]
    local cx cy
    read -r cx cy < <(entry "$1" "$2" "$lang" "${3:-}")
    echo "$((X + cx)) $((Y + cy))"
}

# The sizes of the shipped popup masks: the popup's rows are a tenth of its mask ($MENU_H of
# $MENU_W), the submenu's a twelfth ($SUB_H of $SUB_W).
menu_sizes() {
    local mh mh2
    read -r MENU_W mh < <(identify -format '%w %h' "$app/skins/menu_mask.jpg")
    read -r SUB_W mh2 < <(identify -format '%w %h' "$app/skins/advanced menu_mask.jpg")
    MENU_H=$((mh / 10)); SUB_H=$((mh2 / 12))
}
# Where the popup of function box TAG opens: just below the box ($PX $PY).
popup_origin() {  # TAG
    local ex ey ew eh
    read -r ex ey ew eh < <(entry_rect main "$1" "$lang")
    PX=$((X + ex)); PY=$((Y + ey + eh))
}
popup_shown() { [ -n "$(xdotool search --onlyvisible --name '^MainMenuDlg$' 2>/dev/null)" ]; }
popup_gone() { ! popup_shown; }

# ------------------------------------------------------------------------------------------------
# The pointer and the keyboard. The program handles its input in order, so a click needs no
# pause after it: whoever depends on its effect polls for that effect.

click_at() { xdotool mousemove "$1" "$2" click "${3:-1}"; }  # X Y [BUTTON]
# A click on the centre of an entry of the window at $X $Y in language $lang.
click() {  # LAYOUT TAG [SECTION]
    local cx cy
    read -r cx cy < <(entry_on_screen "$@")
    click_at "$cx" "$cy"
}
# Moves the pointer inside the window but over no control, so nothing shows hovered.
rest_pointer() { xdotool mousemove $((X + 70)) $((Y + 300)); }

# A click on a tab (or any control that changes much of the window): waits until the window
# looks different from before, which also shows the program handled every earlier click.
click_page() {  # LAYOUT TAG
    grab "$work/page-before.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
    click "$1" "$2"
    e2e_poll 30 window_changed "$work/page-before.png" 0.05 || fail "a click on $2 did not change the page"
}
window_changed() {  # REFERENCE SHARE
    grab "$work/page-now.png" "$X" "$Y" "$WIDTH" "$HEIGHT" &&
        at_least "$(difference "$1" "$work/page-now.png")" "$2"
}

# ------------------------------------------------------------------------------------------------
# Screenshots.

# The screen's rectangle X Y WIDTH HEIGHT saved as FILE.
grab() {  # FILE X Y WIDTH HEIGHT
    import -window root -crop "${4}x${5}+${2}+${3}" +repage "$1"
}
# ...saved as $shots/NAME.png.
e2e_shot() { grab "$shots/$1.png" "${@:2}" || fail "cannot take a screenshot"; }  # NAME X Y WIDTH HEIGHT
# The main window saved as $shots/NAME.png.
window_shot() { e2e_shot "$1" "$X" "$Y" "$WIDTH" "$HEIGHT"; }
# How different two pictures are over a region: the share of pixels that differ (0..1).
difference() {  # FILE-A FILE-B [GEOMETRY]
    local a=$1 b=$2
    if [ -n "${3:-}" ]; then
        convert "$a" "$b" -crop "$3" +repage -compose difference -composite -colorspace gray -threshold 8% -format '%[fx:mean]' info:
    else
        convert "$a" "$b" -compose difference -composite -colorspace gray -threshold 8% -format '%[fx:mean]' info:
    fi
}
# The region of the screen differs from picture FILE (of its size) by at least SHARE.
region_changed() {  # FILE SHARE X Y WIDTH HEIGHT
    grab "$work/region-now.png" "$3" "$4" "$5" "$6" && at_least "$(difference "$1" "$work/region-now.png")" "$2"
}
# The tray menu, opened by a right click on the program's tray icon (the window hidden): it
# opens at the cursor, its top left at $mx $my; saved as $shots/NAME.png.
open_tray_menu() {  # NAME
    local tray TRAY_X TRAY_Y TRAY_WIDTH TRAY_HEIGHT
    tray=$(e2e_wait_for_window '^Wine System Tray$' 30) || fail "no tray icon appeared"
    eval "$(xdotool getwindowgeometry --shell "$tray" | sed 's/^/TRAY_/')"
    mx=$((TRAY_X + TRAY_HEIGHT / 2)); my=$((TRAY_Y + TRAY_HEIGHT / 2))
    grab "$work/before-tray-menu.png" "$mx" "$my" 200 220
    click_at "$mx" "$my" 3
    e2e_poll 30 region_changed "$work/before-tray-menu.png" 0.2 "$mx" "$my" 200 220 || fail "no tray menu"
    e2e_shot "$1" "$mx" "$my" 200 220
}
# A click on the open tray menu's row: the owner-drawn menus' rows are 20 px high, a separator
# 1 px; the five slots come first, then a separator and the rest in their order.
click_tray_row() {  # slot1..slot5 | profiles | indicator | startup | show | exit
    local y=0 row
    for row in slot1 slot2 slot3 slot4 slot5 - profiles indicator startup show exit; do
        if [ "$row" = - ]; then y=$((y + 1)); continue; fi
        if [ "$row" = "$1" ]; then click_at $((mx + 30)) $((my + y + 10)); return; fi
        y=$((y + 20))
    done
    fail "the tray menu has no row $1"
}
# Pixels of a picture as "r,g,b", one line per point "X Y" (offset by DX DY), in one reading.
pixels() {  # FILE DX DY "X Y"...
    local file=$1 dx=$2 dy=$3 point x y format=""
    shift 3
    for point in "$@"; do
        read -r x y <<<"$point"
        x=$((x + dx)); y=$((y + dy))
        format+="%[fx:int(255*p{$x,$y}.r)],%[fx:int(255*p{$x,$y}.g)],%[fx:int(255*p{$x,$y}.b)]\n"
    done
    convert "$file" -format "$format" info:
}
at_least() { awk -v v="$1" -v min="$2" 'BEGIN { exit !(v >= min) }'; }
at_most() { awk -v v="$1" -v max="$2" 'BEGIN { exit !(v <= max) }'; }

# ------------------------------------------------------------------------------------------------
# The file dialogs of Wine.

# The dialog titled TITLE once it is drawn (a window not yet drawn has no contrast): its id in
# $dlg, its place and size in $D_X $D_Y $D_WIDTH $D_HEIGHT.
wait_for_dialog() {  # TITLE
    dlg=$(e2e_wait_for_window "^$1\$" 30) || fail "no '$1' dialog appeared"
    eval "$(xdotool getwindowgeometry --shell "$dlg" | sed 's/^/D_/')"
    dialog_drawn() {
        grab "$work/dialog.png" "$D_X" "$D_Y" "$D_WIDTH" "$D_HEIGHT" &&
            at_least "$(convert "$work/dialog.png" -format '%[fx:standard_deviation]' info:)" 0.05
    }
    e2e_poll 30 dialog_drawn || fail "the '$1' dialog stayed blank"
}
# A file dialog titled TITLE: the path typed into its file name box (which needs a click first:
# without a window manager nothing gives the dialog the keyboard), then Enter; saving over a
# file is confirmed. Its screenshot is $shots/SHOT.png.
use_dialog() {  # TITLE PATH SHOT
    local dlg D_X D_Y D_WIDTH D_HEIGHT box B_X B_Y B_WIDTH B_HEIGHT
    wait_for_dialog "$1"
    e2e_shot "$3" "$D_X" "$D_Y" "$D_WIDTH" "$D_HEIGHT"
    # The name box, clicked: without a window manager the keyboard goes to the window under
    # the pointer, and the program takes the keys in order after the click.
    click_at $((D_X + D_WIDTH * 56 / 100)) $((D_Y + D_HEIGHT - 56))
    xdotool type --delay 10 "$2"
    xdotool key --clearmodifiers Return
    # Saving over a file asks first, in a small box (Wine calls it "Error"): its Yes (left)
    # button. The dialog goes, or the box comes.
    dialog_answered() {
        no_window "^$1\$" && return 0
        for box in $(xdotool search --onlyvisible --name "^($1|Error)\$" 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$box" | sed 's/^/B_/')"
            [ "$B_HEIGHT" -lt 200 ] && return 0
        done
        return 1
    }
    e2e_poll 30 dialog_answered "$1" || { e2e_shot "$3-stuck" 0 0 1280 1024; fail "the '$1' dialog stayed open"; }
    if ! no_window "^$1\$"; then
        e2e_shot "$3-overwrite" "$B_X" "$B_Y" "$B_WIDTH" "$B_HEIGHT"
        click_at $((B_X + B_WIDTH / 3)) $((B_Y + B_HEIGHT * 72 / 100))
        e2e_poll 30 no_window "^$1\$" || fail "the '$1' dialog stayed open after the overwrite question"
    fi
}

# ------------------------------------------------------------------------------------------------
# The virtual mouse of the running program (on $port) and what it received.

vmouse() { "$e2e_py" "$src/tools/vmouse.py" "$port" "$@"; }
# One command that must be answered OK; its answer lines (without the OK) on stdout.
vm() {
    local out
    out=$("$e2e_py" "$src/tools/vmouse.py" --wait 5 "$port" "$@") || fail "virtual mouse command '$*' failed: $out"
    printf '%s\n' "$out" | sed '$d'
}
# A press and a release of button $1.
vm_click() { vm press "$1" >/dev/null; vm release "$1" >/dev/null; }
# The feature reports received since the last clear, one per line.
features() { vmouse features | grep -v '^OK$'; }
features_are() { [ "$(features)" = "$1" ]; }
has_feature() { features | grep -qx "$1"; }
no_features() { [ -z "$(features)" ]; }
# The feature reports of the log $log of the running program, one per line.
logged() { cat "$log" 2>/dev/null; }
log_has() { grep -q "$1" "$log" 2>/dev/null; }

exit_report="07 20 00 00 00 00 00 00 00"

# The reports applying slot SLOT (default the current one) of config.ini FILE must produce.
reports_of() {  # FILE [SLOT]
    PYTHONDONTWRITEBYTECODE=1 "$e2e_py" "$e2e_dir/mouse_reports.py" reports "$@"
}

# ------------------------------------------------------------------------------------------------
# Configuration files.

# An INI file's text as UTF-8 without carriage returns (UTF-16 or plain, as the program wrote it).
ini_text() {  # FILE
    if [ "$(head -c2 "$1" | od -An -tx1)" = " ff fe" ]; then iconv -f UTF-16 -t UTF-8 "$1"; else cat "$1"; fi | tr -d '\r'
}
# The value of KEY in [SECTION] of FILE.
value_in() {  # FILE SECTION KEY
    ini_text "$1" | awk -F= -v s="[$2]" -v k="$3" '/^\[/ { in_s = ($0 == s); next } in_s && $1 == k { print $2; exit }'
}
# ... of the program's config.ini.
ini_value() { value_in "$app/config.ini" "$@"; }  # SECTION KEY
# For polls, which take a command: KEY of SECTION is VALUE now.
ini_is() { [ "$(ini_value "$1" "$2")" = "$3" ]; }
CONFIG_KEYS="K1 K2 K3 K4 K5 K6 K7 WHEEL_STATUS MACRO_MODE2 DPI_LEVEL DPI_SET1 DPI_SET2 DPI_SET3 DPI_SET4 DPI_SET_EN1 DPI_SET_EN2 DPI_SET_EN3 DPI_SET_EN4 LED_STATUS DPI_SPEED WHEEL_SPEED FIRE_TIME"
# The configuration of SECTION of FILE as one line "KEY=VALUE ..." (in the order above).
config_of() {  # FILE SECTION
    ini_text "$1" | awk -F= -v s="[$2]" -v keys="$CONFIG_KEYS" '
        /^\[/ { in_s = ($0 == s); next }
        in_s && !($1 in v) { v[$1] = substr($0, length($1) + 2) }
        END { n = split(keys, k, " "); for (i = 1; i <= n; i++) printf "%s=%s ", k[i], v[k[i]]; print "" }'
}
# Python with the test's modules (mouse_reports) and the encoder of the shipped macro files
# (make_default_macros) at hand, for a scenario's own data.
e2e_python() { PYTHONPATH="$e2e_dir:$src/tools" PYTHONDONTWRITEBYTECODE=1 "$e2e_py" "$@"; }

# The macro file's record KEY as "name|count|key,action,delay ..." (delays in ms), or with KEY
# macroNum the number of macros.
macro_record() {  # FILE KEY
    "$e2e_py" - "$1" "$2" <<'PYTHON'
import sys

path, key = sys.argv[1], sys.argv[2]
text = open(path, "rb").read()
text = text.decode("utf-16") if text[:2] == b"\xff\xfe" else text.decode("latin-1")
values = dict(line.split("=", 1) for line in text.replace("\r", "").split("\n") if "=" in line)
if key == "macroNum":
    print(values.get("macroNum", ""))
    sys.exit()
digits = values[key]
image = [int(digits[i:i + 3]) & 0xFF for i in range(0, len(digits), 3)]
name = bytes(image[0:40]).decode("utf-16-le").split("\0")[0]
count = image[43]
events = [f"{image[44 + 4 * k]},{image[45 + 4 * k]},{image[46 + 4 * k] | image[47 + 4 * k] << 8}" for k in range(count)]
print(f"{name}|{count}|{' '.join(events)}")
PYTHON
}

# ------------------------------------------------------------------------------------------------
# The key logger: a window of our own, in the program's prefix (injected input reaches only
# windows of the same wineserver), that writes down the keys and buttons it is given.

# Starts it at X Y WIDTH HEIGHT, logging to $keys_log: its window in $logger_wid, its centre in
# $logger_x $logger_y.
logger_start() {  # X Y WIDTH HEIGHT
    local key_logger=$build/key_logger.exe X Y WIDTH HEIGHT
    [ -f "$key_logger" ] || fail "$key_logger is missing (build the key_logger target)"
    cp "$key_logger" "$work/key_logger.exe" || fail "cannot copy $key_logger"
    keys_log=$work/keys.log
    "$wine_run" "$work/key_logger.exe" "$(e2e_windows_path "$keys_log")" "$@" &
    logger_pid=$!
    logger_wid=$(e2e_wait_for_window '^HXT key logger$' 120) || fail "the key logger's window did not appear"
    eval "$(xdotool getwindowgeometry --shell "$logger_wid")"
    logger_x=$((X + WIDTH / 2))
    logger_y=$((Y + HEIGHT / 2))
}
log_lines() { wc -l < "$keys_log"; }
# The key and button lines of the logger from line $1 on, without prev= and positions.
events_since() {
    tail -n +"$1" "$keys_log" | grep -E '^(SYS)?KEY(DOWN|UP) |^[LRM]BUTTON' |
        sed -E 's/ prev=[01]$//; s/^([LRM]BUTTON[A-Z]+) .*/\1/'
}
events_at_least() { [ "$(events_since "$1" | grep -c .)" -ge "$2" ]; }  # FROM COUNT
# Gives the key logger the keyboard and puts the pointer over it, then proves both with a key
# and a click of our own that must arrive in its log.
focus_logger() {
    local attempt from
    logger_got_both() {
        tail -n +"$1" "$keys_log" | grep -q '^KEYUP vk=7B' && tail -n +"$1" "$keys_log" | grep -q '^LBUTTONUP'
    }
    for attempt in 1 2 3 4 5; do
        from=$(($(log_lines) + 1))
        # No --sync: it waits for a motion that never comes when the pointer is there already.
        xdotool mousemove "$logger_x" "$logger_y"
        xdotool windowraise "$logger_wid" 2>/dev/null
        xdotool windowfocus --sync "$logger_wid" 2>/dev/null || xdotool windowfocus "$logger_wid"
        xdotool click 1 key F12
        e2e_poll 5 logger_got_both "$from" && return 0
    done
    fail "the key logger does not get the keyboard and the mouse"
}
# Compares the events since line $1 with the lines of file $2.
expect_events() {  # FROM FILE WHAT
    if ! diff <(events_since "$1") "$2" > "$work/diff"; then
        echo "--- $3: expected (>) and received (<):" >&2
        cat "$work/diff" >&2
        fail "$3 did not arrive as played"
    fi
}
