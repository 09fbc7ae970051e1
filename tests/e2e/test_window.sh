#!/usr/bin/env bash
# End to end: the skinned main window. Screenshots of the three pages in both languages, of a
# hovered and a pressed control (saved in $HXT_BUILD_DIR/screenshots/window-*.png); the status
# line follows the driver's state; the window's outline follows the mouse-shaped mask; the close
# control hides the window into the tray and a double click on the tray icon brings it back.
# Usage: test_window.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR)
set -uo pipefail
# A display of its own with the classic stippled root: wherever the window is cut away, the
# stipple shows through, which no painting of the window could fake.
if [ -z "${HXT_WINDOW_TEST_DISPLAY:-}" ]; then
    export HXT_WINDOW_TEST_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -retro" bash "${BASH_SOURCE[0]}" "$@"
fi
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
e2e_screenshots

# Starts the program in language VER_SEL $1 and waits for its window: sets wid, port, X, Y,
# WIDTH, HEIGHT.
start_program() {
    sed -i "s/^VER_SEL=.*/VER_SEL=$1\r/" "$work/config.ini"
    port=$(e2e_free_port)
    HXT_FIRST_PAINT_LOG=$(e2e_windows_path "$work/first-paint.log") e2e_start "--virtual-mouse=$port"
    wid=$(e2e_wait_for_window 'K-R7T' 120) || fail "no window appeared within 120 s"
    sleep 1.5  # the first paints
    eval "$(xdotool getwindowgeometry --shell "$wid")"
}

stop_program() {
    e2e_alt_f4 "$wid"
    e2e_wait_for_exit 20 || fail "the program was still running 20 s after Alt+F4"
}

# The window's area of the screen, saved under NAME.
shot() { e2e_shot "window-$1" "$X" "$Y" "$WIDTH" "$HEIGHT"; }  # NAME
# How different two pictures are over a region: the share of pixels that differ (0..1).
picture_difference() {  # FILE-A FILE-B GEOMETRY
    convert "$1" "$2" -crop "$3" +repage \
        -compose difference -composite -colorspace gray -threshold 8% -format '%[fx:mean]' info:
}
differs() {  # SHOT-A SHOT-B [GEOMETRY]
    picture_difference "$shots/window-$1.png" "$shots/window-$2.png" "${3:-${WIDTH}x${HEIGHT}+0+0}"
}
# The status line as it shows now, saved in the work folder as NAME.png.
status_shot() {  # NAME
    local sx sy sw sh
    read -r sx sy sw sh < <(entry_rect main status 1)
    import -window root "$work/root.png"
    convert "$work/root.png" -crop "${sw}x${sh}+$((X + sx))+$((Y + sy))" +repage "$work/$1.png"
}
status_difference() { picture_difference "$work/$1.png" "$work/$2.png" "1000x100+0+0"; }
# One command to the virtual mouse; fails unless it answers OK.
mouse_command() { python3 "$src/tools/vmouse.py" "$port" "$@" >/dev/null; }
# Pixel of a PNG as "r,g,b".
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
click_entry() {  # TAG LANG
    local cx cy
    read -r cx cy < <(entry main "$1" "$2")
    xdotool mousemove $((X + cx)) $((Y + cy)) click 1
    sleep 0.8
}
# The pointer inside the window but over no control, so nothing shows hovered.
rest_pointer() { xdotool mousemove $((X + 70)) $((Y + 300)); sleep 0.5; }
at_least() { awk -v v="$1" -v min="$2" 'BEGIN { exit !(v >= min) }'; }
at_most() { awk -v v="$1" -v max="$2" 'BEGIN { exit !(v <= max) }'; }

import -window root "$work/background.png" || fail "cannot take a screenshot"

for lang in 1 0; do
    if [ $lang = 1 ]; then name=en; else name=cn; fi
    start_program $lang
    [ -f "$work/first-paint.log" ] && echo "$name: $(tail -n1 "$work/first-paint.log")"
    if [ $lang = 1 ]; then
        # The delivered configuration gives buttons host functions, so the status line waits
        # for the start key and its number blinks; once the mouse reports the start key, the
        # line says the driver works and stays still.
        blinked=0
        status_shot waiting-0
        for i in 1 2 3 4 5 6; do
            sleep 0.2
            status_shot waiting-$i
            at_least "$(status_difference waiting-0 waiting-$i)" 0.002 && blinked=1
        done
        [ $blinked = 1 ] || fail "the waiting status line does not blink"
        mouse_command report 06 00 || fail "the virtual mouse refused the start report"
        sleep 1.2
        status_shot working-a
        sleep 0.75
        status_shot working-b
        at_most "$(status_difference working-a working-b)" 0 || fail "the status line still changes after the start"
        for i in 0 1 2 3 4 5 6; do
            at_least "$(status_difference waiting-$i working-a)" 0.02 || fail "the status line did not change after the start"
        done
    fi
    rest_pointer
    shot main-$name
    click_entry tab-advanced $lang
    shot advanced-$name
    click_entry tab-colour $lang
    shot colour-$name
    click_entry tab-main $lang
    rest_pointer
    shot main-again-$name
    # Each page looks different, and coming back shows the main page as it was.
    at_least "$(differs main-$name advanced-$name)" 0.05 || fail "$name: the advanced page looks like the main page"
    at_least "$(differs main-$name colour-$name)" 0.05 || fail "$name: the colour page looks like the main page"
    at_least "$(differs advanced-$name colour-$name)" 0.05 || fail "$name: the colour page looks like the advanced page"
    # While the start key is awaited its number and its button's highlight blink, so the
    # comparison leaves the status line out and allows for the highlight.
    at_most "$(differs main-$name main-again-$name "${WIDTH}x440+0+0")" 0.002 ||
        fail "$name: the main page changed after a round through the tabs"

    if [ $lang = 1 ]; then
        # The outline: outside the mask the stippled root shows unchanged, inside the page.
        import -window root "$work/root.png"
        for point in "3 3" "$((WIDTH - 3)) 3" "3 $((HEIGHT - 3))" "$((WIDTH - 3)) $((HEIGHT - 3))" "20 20"; do
            read -r px py <<<"$point"
            [ "$(pixel "$work/root.png" $((X + px)) $((Y + py)))" = "$(pixel "$work/background.png" $((X + px)) $((Y + py)))" ] ||
                fail "the window covers ($px,$py), outside its mouse-shaped outline"
        done
        inside=0
        for point in "380 280" "200 200" "600 400" "100 300"; do
            read -r px py <<<"$point"
            [ "$(pixel "$work/root.png" $((X + px)) $((Y + py)))" != "$(pixel "$work/background.png" $((X + px)) $((Y + py)))" ] &&
                inside=$((inside + 1))
        done
        [ $inside -ge 3 ] || fail "only $inside of 4 points inside the outline show the window"

        # Hover: a function box and its button's highlight light up.
        read -r cx cy < <(entry main function-box-3 1)
        xdotool mousemove $((X + cx)) $((Y + cy))
        sleep 0.8
        shot hover-en
        read -r hx hy < <(entry main button-highlight-3 1)
        at_least "$(differs main-en hover-en "160x40+$((cx - 80))+$((cy - 20))")" 0.05 || fail "hovering a function box shows nothing"
        at_least "$(differs main-en hover-en "40x80+$((hx - 20))+$((hy - 40))")" 0.05 || fail "hovering does not light the button"
        # Pressed: the apply control held down shows its pressed picture; released elsewhere it
        # does nothing.
        read -r ax ay < <(entry main apply 1)
        xdotool mousemove $((X + ax)) $((Y + ay)) mousedown 1
        sleep 0.8
        shot pressed-en
        xdotool mousemove $((X + WIDTH - 2)) $((Y + HEIGHT - 2))
        read -r rx ry < <(entry main status 1)
        xdotool mousemove $((X + rx)) $((Y + ry)) mouseup 1
        sleep 0.5
        at_least "$(differs main-en pressed-en "110x30+$((ax - 55))+$((ay - 15))")" 0.05 || fail "the held apply control shows no change"

        # The close control hides the window into the tray...
        # (Without a window manager, Wine takes about two seconds to hide a minimised window.)
        click_entry close 1
        window_hidden() { [ -z "$(xdotool search --onlyvisible --name 'K-R7T' 2>/dev/null)" ]; }
        e2e_poll 10 window_hidden || fail "the window is still shown 10 s after the close control"
        kill -0 "$pid" 2>/dev/null || fail "the close control ended the program"
        tray=$(e2e_wait_for_window '^Wine System Tray$' 10) || fail "no tray icon appeared"
        eval "$(xdotool getwindowgeometry --shell "$tray" | sed 's/^/TRAY_/')"
        import -window root "$work/root.png"
        convert "$work/root.png" -crop "${TRAY_WIDTH}x${TRAY_HEIGHT}+${TRAY_X}+${TRAY_Y}" +repage "$shots/window-tray.png"
        # The icon is the tray's first: coloured pixels in its square.
        colourful=$(convert "$shots/window-tray.png" -crop "${TRAY_HEIGHT}x${TRAY_HEIGHT}+0+0" +repage \
            -colorspace HSL -channel G -separate -format '%[fx:maxima]' info:)
        at_least "$colourful" 0.3 || fail "the tray shows no icon"
        # ...and a double click on the icon brings the window back.
        xdotool mousemove $((TRAY_X + TRAY_HEIGHT / 2)) $((TRAY_Y + TRAY_HEIGHT / 2)) click --repeat 2 --delay 80 1
        wid=$(e2e_wait_for_window 'K-R7T' 10) || fail "a double click on the tray icon did not bring the window back"
        sleep 1
        eval "$(xdotool getwindowgeometry --shell "$wid")"
        rest_pointer
        shot restored-en
        at_most "$(differs main-en restored-en)" 0.002 || fail "the restored window does not show the main page"
    fi
    stop_program
done

# The two languages differ in their texts, not their pictures.
at_least "$(differs main-en main-cn)" 0.002 || fail "the Chinese main page looks like the English one"
echo "screenshots: $shots/window-*.png"
echo "PASS"
