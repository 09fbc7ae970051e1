#!/usr/bin/env bash
# Takes the README's pictures from the real program under Wine on a private Xvfb display:
# docs/main-en.png (the main page, English) and docs/colour-cn.png (the colour page, Chinese),
# each cropped to the window and cut to its mouse-shaped outline (transparent outside it).
# The program runs on a virtual mouse that has been told to start, so the status line reads
# as it does once the driver works.
# Usage: tools/readme_screenshots.sh   (HXT_BUILD_DIR: a Windows build tree to use instead of
# building build/win64)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
if [ -z "${HXT_README_DISPLAY:-}" ]; then
    hxt_ensure_packages "${HXT_WINE_PACKAGES[@]}"
    if [ -z "${HXT_BUILD_DIR:-}" ]; then
        hxt_build_win64 >/dev/null
        export HXT_BUILD_DIR=$HXT_ROOT/build/win64
    fi
    export HXT_README_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "${BASH_SOURCE[0]}" "$@"
fi

build=$HXT_BUILD_DIR
docs=$HXT_ROOT/docs
export HXT_WINEPREFIX=$build/wineprefix-readme
export WINEPREFIX=$HXT_WINEPREFIX
mkdir -p "$docs"

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

cp "$build/HXT_GMouse.exe" "$work/"
cmake -DSRC="$HXT_ROOT/data" -DDST="$work" -P "$HXT_ROOT/cmake/lay_out_data.cmake" >/dev/null
cp -r "$build/skins" "$work/skins"
read -r mask_w mask_h < <(identify -format '%w %h\n' "$work/skins/main_mask.jpg")

# The entry tagged TAG (field 0) of the main or colour description of language VER_SEL as
# "X Y WIDTH HEIGHT".
entry() {  # main|colour TAG VER_SEL
    local file
    case "$1$3" in
        main1) file=INI_EN/skin_main_en.ini ;; main0) file=INI_CN/skin_main.ini ;;
        colour1) file=INI_EN/skin_color_en.ini ;; colour0) file=INI_CN/skin_color.ini ;;
    esac
    iconv -f UTF-16 -t UTF-8 "$work/skins/$file" | tr -d '\r' | awk -F'[=,]' -v tag="$2" '
        /^\[/ { section = $0; next }
        section == "[BUTTONPOS]" && $2 == tag { print $3, $4, $5, $6; exit }'
}

# One command line to the virtual mouse.
mouse_command() {
    python3 - "$port" "$1" <<'EOF'
import socket, sys
with socket.create_connection(("127.0.0.1", int(sys.argv[1])), timeout=10) as s:
    s.sendall((sys.argv[2] + "\n").encode())
    answer = b""
    while not (answer.endswith(b"OK\n") or b"ERR" in answer):
        chunk = s.recv(4096)
        if not chunk:
            break
        answer += chunk
sys.exit(0 if answer.endswith(b"OK\n") else 1)
EOF
}

start_program() {  # VER_SEL
    sed -i "s/^VER_SEL=.*/VER_SEL=$1\r/" "$work/config.ini"
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    xdotool mousemove 1270 1010  # the pointer away from the window until it is wanted
    "$HXT_ROOT/tools/wine-run.sh" "$work/HXT_GMouse.exe" "--virtual-mouse=$port" &
    pid=$!
    wid=""
    for _ in $(seq 1 400); do
        wid=$(xdotool search --onlyvisible --name 'K-R7T' 2>/dev/null | head -n1) || true
        [ -n "$wid" ] && break
        sleep 0.3
    done
    [ -n "$wid" ] || { echo "no program window appeared" >&2; exit 1; }
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    # The mouse reports its start button: host actions run and the status line says so.
    mouse_command "report 06 00"
    sleep 1
}

stop_program() {
    xdotool windowfocus "$wid" 2>/dev/null || true
    xdotool key --clearmodifiers alt+F4
    for _ in $(seq 1 60); do kill -0 "$pid" 2>/dev/null || break; sleep 0.3; done
    pid=""
}

# The window's mask-sized area of the screen, transparent where the mask cuts the window away
# (every channel above 100, as the program decides).
save_window() {  # FILE
    import -window root "$work/root.png"
    convert "$work/root.png" -crop "${mask_w}x${mask_h}+${X}+${Y}" +repage \
        \( "$work/skins/main_mask.jpg" -colorspace gray -threshold 39.3% -negate \) \
        -alpha off -compose CopyOpacity -composite -strip "$1"
    echo "$1"
}

start_program 1
save_window "$docs/main-en.png"
stop_program

start_program 0
read -r tx ty tw th < <(entry main tab-colour 0)
xdotool mousemove $((X + tx + tw / 2)) $((Y + ty + th / 2)) click 1
# Rest the pointer inside the window but on no control, so nothing shows hovered.
xdotool mousemove $((X + 70)) $((Y + 300))
# The LED preview blinks through its colours: wait for a lit moment.
read -r px py pw ph < <(entry colour preview 0)
for _ in $(seq 1 20); do
    sleep 0.4
    import -window root "$work/root.png"
    lit=$(convert "$work/root.png" -crop "${pw}x${ph}+$((X + px))+$((Y + py))" +repage -colorspace HSL \
        -channel G -separate -format '%[fx:maxima]' info:)
    awk -v s="$lit" 'BEGIN { exit !(s > 0.6) }' && break
done
save_window "$docs/colour-cn.png"
stop_program
