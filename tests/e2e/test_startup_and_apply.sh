#!/usr/bin/env bash
# End to end, a user's first session: the program starts from its shipped data and downloads the
# delivered slot into the (virtual) mouse; a second copy leaves at once; the status line blinks
# until the start key, after which host actions step the DPI stage in the mouse and in
# config.ini; the three pages, a hovered and a pressed control; the window's outline follows the
# mouse-shaped mask; edits stay in the window until Apply, which sends the reports and writes
# config.ini, on every page (the DPI knob dragged, a quick double click counted twice); the close control hides the window into the tray, whose icon brings
# it back as it was; a slot button followed by the close control sends nothing; Alt+F4 ends the
# program with the exit command last.
# Then a start in Chinese: its pages, whose texts differ from the English ones; and a start in the
# tray, whose icon brings the window, and there the program profiles of apps.ini: a bound program
# in front runs its slot, another brings the chosen one back, quick switches apply once.
# Screenshots: $HXT_BUILD_DIR/screenshots/startup.png and window-*.png.
# Usage: test_startup_and_apply.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR)
set -uo pipefail
# A display of its own with the classic stippled root: wherever the window is cut away, the
# stipple shows through, which no painting of the window could fake.
if [ -z "${HXT_RETRO_DISPLAY:-}" ]; then
    export HXT_RETRO_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -retro" bash "${BASH_SOURCE[0]}" "$@"
fi
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
ini=$work/config.ini
import -window root "$work/background.png" || fail "cannot take a screenshot"

# The delivered configuration: slot 1, buttons 6 and 7 step the DPI stage down and up, stage 0.
slot=$(ini_value Init CurConfig)
[ "$slot" = 1 ] && [ "$(ini_value Config1 K6)" = 18 ] && [ "$(ini_value Config1 K7)" = 17 ] &&
    [ "$(ini_value Config1 DPI_LEVEL)" = 0 ] || fail "this test wants the delivered Config1 (K6=18, K7=17, stage 0)"
expected=$(reports_of "$ini")
up_report=$(printf '07 09 01 %02X 00 00 00 00 00' $((($(ini_value Config1 DPI_SET2) + 8) * 16 + $(ini_value Config1 LED_STATUS))))
down_report=$(echo "$expected" | grep '^07 09')

# Picture helpers of the window at $X $Y.
shot() { window_shot "window-$1"; }  # NAME
differs() { difference "$shots/window-$1.png" "$shots/window-$2.png" "${3:-}"; }  # SHOT-A SHOT-B [GEOMETRY]
# The window stands still: two grabs in a row agree above its status line, where the start key's
# number blinks while it is awaited (its button's highlight blinks too, hence the tolerance).
# Each try compares with the grab of the try before.
window_settled() {
    [ -f "$work/settle-b.ppm" ] && mv "$work/settle-b.ppm" "$work/settle-a.ppm"
    grab "$work/settle-b.ppm" "$X" "$Y" "$WIDTH" "$HEIGHT" && [ -f "$work/settle-a.ppm" ] &&
        at_most "$(difference "$work/settle-a.ppm" "$work/settle-b.ppm" "${WIDTH}x440+0+0")" 0.002
}
settled_shot() {
    rm -f "$work"/settle-?.ppm
    e2e_poll 30 window_settled || fail "the window does not settle for $1"
    convert "$work/settle-b.ppm" "$shots/window-$1.png"
}
# The status line as it shows now, saved in the work folder as NAME.png.
status_shot() {  # NAME
    local sx sy sw sh
    read -r sx sy sw sh < <(entry_rect main status 1)
    grab "$work/$1.png" $((X + sx)) $((Y + sy)) "$sw" "$sh"
}
status_difference() { difference "$work/$1.png" "$work/$2.png"; }
dpi_level_is() { ini_is Config1 DPI_LEVEL "$1"; }

# The pages: each looks different, and coming back shows the main page as it was.
walk_pages() {  # NAME
    rest_pointer
    settled_shot "main-$1"
    click_page main tab-advanced
    settled_shot "advanced-$1"
    click_page main tab-colour
    settled_shot "colour-$1"
    click_page main tab-main
    rest_pointer
    settled_shot "main-again-$1"
    at_least "$(differs "main-$1" "advanced-$1")" 0.05 || fail "$1: the advanced page looks like the main page"
    at_least "$(differs "main-$1" "colour-$1")" 0.05 || fail "$1: the colour page looks like the main page"
    at_least "$(differs "advanced-$1" "colour-$1")" 0.05 || fail "$1: the colour page looks like the advanced page"
    # While the start key is awaited its number and its button's highlight blink, so the
    # comparison leaves the status line out and allows for the highlight.
    at_most "$(differs "main-$1" "main-again-$1" "${WIDTH}x440+0+0")" 0.002 ||
        fail "$1: the main page changed after a round through the tabs"
}

# ------------------------------------------------------------------------------------------------
# 1. Start-up: the window appears under the English title and shows something; the mouse
# receives exactly the delivered slot's reports, and the log the same.
HXT_FIRST_PAINT_LOG=$(e2e_windows_path "$work/first-paint.log") e2e_start_with_virtual_mouse
kill -0 "$pid" 2>/dev/null || fail "the program ended right after showing its window"
[ -f "$work/first-paint.log" ] && echo "first paint: $(tail -n1 "$work/first-paint.log")"
[ "$WIDTH" -ge 533 ] && [ "$HEIGHT" -ge 395 ] || fail "window is only ${WIDTH}x${HEIGHT} pixels"
e2e_shot startup "$X" "$Y" "$WIDTH" "$HEIGHT"
colours=$(identify -format '%k' "$shots/startup.png")
[ "$colours" -ge 4 ] || fail "window has only $colours colours, see $shots/startup.png"
e2e_poll 20 features_are "$expected" || fail "start-up sent
$(features)
instead of
$expected"
[ "$(logged)" = "$expected" ] || fail "the log holds
$(logged)"
step "started, the delivered slot applied"

# 2. A second copy finds the first one's mutex and leaves by itself; the first keeps running.
started=$SECONDS
timeout 30 "$wine_run" "$work/HXT_GMouse.exe"
rc=$?
[ $rc -ne 124 ] || fail "the second copy was still running after 30 s"
[ $((SECONDS - started)) -le 15 ] || fail "the second copy took $((SECONDS - started)) s to leave"
kill -0 "$pid" 2>/dev/null || fail "the first copy ended when the second started"
no_window "^${title}\$" && fail "the first window went away"
step "a second copy left"

# 3. The delivered configuration gives buttons host functions, so the status line waits for the
# start key and its number blinks.
status_shot waiting-0
n=0
blinked() { n=$((n + 1)); status_shot "waiting-$n"; at_least "$(status_difference waiting-0 "waiting-$n")" 0.002; }
e2e_poll 20 blinked || fail "the waiting status line does not blink"

# 4. Host actions wait for the start key: a press of the DPI-up button does nothing yet.
vm clear >/dev/null
vm press 7 | grep -qx 'input 06 F8 00 00 00 00 00 00 00' || fail "button 7 is not in host mode"

# 5. The start key (button 6, the first host-mode button) switches host actions on: the status
# line says the driver works, unlike any of its waiting looks, and stays still. It came after
# the press of button 7, which therefore changed nothing.
vm_click 6
working() {
    local i
    status_shot working-a
    for i in $(seq 0 "$n"); do at_least "$(status_difference "waiting-$i" working-a)" 0.02 || return 1; done
}
e2e_poll 20 working || fail "the status line did not change after the start key"
no_features || fail "a press before the start key sent $(features)"
dpi_level_is 0 || fail "a press before the start key changed DPI_LEVEL"
still() { status_shot working-b; at_most "$(status_difference working-a working-b)" 0; }
e2e_holds 1 still || fail "the status line still changes after the start"

# 6. DPI up reaches the mouse and config.ini, and DPI down comes back.
vm_click 7
e2e_poll 20 has_feature "$up_report" || fail "DPI up did not send $up_report; got: $(features)"
e2e_poll 20 dpi_level_is 1 || fail "DPI_LEVEL of Config1 is $(ini_value Config1 DPI_LEVEL) after DPI up, not 1"
vm clear >/dev/null
vm_click 6
e2e_poll 20 has_feature "$down_report" || fail "DPI down did not send $down_report; got: $(features)"
e2e_poll 20 dpi_level_is 0 || fail "DPI_LEVEL of Config1 is $(ini_value Config1 DPI_LEVEL) after DPI down, not 0"
step "start key and DPI steps"

# 7. The three pages in English.
walk_pages en

# 8. The outline: outside the mask the stippled root shows unchanged, inside the page.
import -window root "$work/root.png"
outside=("3 3" "$((WIDTH - 3)) 3" "3 $((HEIGHT - 3))" "$((WIDTH - 3)) $((HEIGHT - 3))" "20 20")
inside=("380 280" "200 200" "600 400" "100 300")
paste -d' ' <(printf '%s\n' "${outside[@]}" "${inside[@]}") \
    <(pixels "$work/root.png" "$X" "$Y" "${outside[@]}" "${inside[@]}") \
    <(pixels "$work/background.png" "$X" "$Y" "${outside[@]}" "${inside[@]}") > "$work/outline"
head -n ${#outside[@]} "$work/outline" | while read -r px py now was; do
    [ "$now" = "$was" ] || fail "the window covers ($px,$py), outside its mouse-shaped outline"
done || exit 1
shown=$(tail -n ${#inside[@]} "$work/outline" | awk '$3 != $4' | wc -l)
[ "$shown" -ge 3 ] || fail "only $shown of ${#inside[@]} points inside the outline show the window"

# 9. Hover: a function box and its button's highlight light up.
read -r cx cy < <(entry main function-box-3 1)
read -r hx hy < <(entry main button-highlight-3 1)
xdotool mousemove $((X + cx)) $((Y + cy))
hovered() {
    grab "$shots/window-hover-en.png" "$X" "$Y" "$WIDTH" "$HEIGHT" &&
        at_least "$(differs main-en hover-en "160x40+$((cx - 80))+$((cy - 20))")" 0.05 &&
        at_least "$(differs main-en hover-en "40x80+$((hx - 20))+$((hy - 40))")" 0.05
}
e2e_poll 20 hovered || fail "hovering a function box shows nothing or does not light the button"

# 10. Pressed: the apply control held down shows its pressed picture; released elsewhere it does
# nothing (the exact reports of the next Apply show that).
vm clear >/dev/null
read -r ax ay < <(entry main apply 1)
xdotool mousemove $((X + ax)) $((Y + ay)) mousedown 1
pressed() {
    grab "$shots/window-pressed-en.png" "$X" "$Y" "$WIDTH" "$HEIGHT" &&
        at_least "$(differs main-en pressed-en "110x30+$((ax - 55))+$((ay - 15))")" 0.05
}
e2e_poll 20 pressed || fail "the held apply control shows no change"
xdotool mousemove $((X + WIDTH - 2)) $((Y + HEIGHT - 2))
read -r rx ry < <(entry main status 1)
xdotool mousemove $((X + rx)) $((Y + ry)) mouseup 1
step "pages, outline, hover and press"

# 11. Edits: nothing reaches the mouse or config.ini before Apply (the page switch after them
# shows they were handled).
section=Config$slot
wheel_before=$(ini_value "$section" WHEEL_STATUS)
click main wheel-reverse
# Stage 1's knob, pressed on its first tick and dragged to its fourth.
read -r kx ky < <(entry_on_screen main stage-step-1-0)
read -r tx _ < <(entry_on_screen main stage-step-1-3)
xdotool mousemove "$kx" "$ky" mousedown 1 mousemove $(((kx + tx) / 2)) "$ky" mousemove "$tx" "$ky" mouseup 1
click_page main tab-advanced
no_features || fail "an edit reached the mouse before Apply: $(features)"
[ "$(ini_value "$section" WHEEL_STATUS)" = "$wheel_before" ] || fail "an edit reached config.ini before Apply"

# 12. Apply: what start-up sent, with the wheel reversed; the slot and the applied copy hold the
# edits.
click main apply
applied=$(printf '%s\n' "$expected" | sed 's/^07 11 00 /07 11 01 /')
e2e_poll 20 features_are "$applied" || fail "Apply sent
$(features)
expected
$applied"
edits_saved() { ini_is "$1" WHEEL_STATUS 1 && ini_is "$1" DPI_SET2 3; }
for s in "$section" Config6; do
    e2e_poll 20 edits_saved "$s" ||
        fail "$s has WHEEL_STATUS $(ini_value "$s" WHEEL_STATUS), DPI_SET2 $(ini_value "$s" DPI_SET2) after Apply"
done

# 13. The advanced page: a pointer speed, and two quick clicks on the fire interval's "+" (a
# double click to Windows) that count as two, applied.
click advance pointer-step-5
fire_before=$(ini_value "$section" FIRE_TIME)
read -r fx fy < <(entry_on_screen advance fire-plus)
xdotool mousemove "$fx" "$fy" click --repeat 2 --delay 60 1
click main apply
e2e_poll 20 ini_is "$section" DPI_SPEED 5 || fail "DPI_SPEED is $(ini_value "$section" DPI_SPEED) after Apply"
e2e_poll 20 ini_is "$section" FIRE_TIME $((fire_before + 2)) ||
    fail "two quick clicks on + took FIRE_TIME from $fire_before to $(ini_value "$section" FIRE_TIME)"

# 14. The colour page: the LED off, applied; the DPI report carries LED value 3.
click_page main tab-colour
vm clear >/dev/null
click color led-off
click main apply
e2e_poll 20 ini_is "$section" LED_STATUS 3 || fail "LED_STATUS is $(ini_value "$section" LED_STATUS) after Apply"
led_off_sent() { features | grep -q '^07 09 0[0-3] [89AB]3 '; }
e2e_poll 20 led_off_sent || fail "Apply sent no DPI report with the LED off: $(features)"
click_page main tab-main
rest_pointer
settled_shot main-applied
step "edits and Apply on three pages"

# 15. The close control hides the window into the tray (the program keeps running, and says so
# the first time); the tray shows the icon (the tray's first: coloured pixels in its square); a double click on it brings
# the window back as it was, down to the slot it shows.
hide_with_close_control() {
    click main close
    # (Without a window manager, Wine takes about two seconds to hide a minimised window.)
    e2e_poll 30 no_window 'K-R7T' || { e2e_shot close-stuck 0 0 1280 1024; fail "the close control left the window visible"; }
    kill -0 "$pid" 2>/dev/null || fail "the close control ended the program"
}
back_from_tray() {
    local tray TRAY_X TRAY_Y TRAY_WIDTH TRAY_HEIGHT
    tray=$(e2e_wait_for_window '^Wine System Tray$' 30) || fail "no tray icon appeared"
    eval "$(xdotool getwindowgeometry --shell "$tray" | sed 's/^/TRAY_/')"
    icon_shown() {
        grab "$shots/window-tray.png" "$TRAY_X" "$TRAY_Y" "$TRAY_WIDTH" "$TRAY_HEIGHT" &&
            at_least "$(convert "$shots/window-tray.png" -crop "${TRAY_HEIGHT}x${TRAY_HEIGHT}+0+0" +repage \
                -colorspace HSL -channel G -separate -format '%[fx:maxima]' info:)" 0.3
    }
    e2e_poll 20 icon_shown || fail "the tray shows no icon"
    xdotool mousemove $((TRAY_X + TRAY_HEIGHT / 2)) $((TRAY_Y + TRAY_HEIGHT / 2)) click --repeat 2 --delay 80 1
    wid=$(e2e_wait_for_window 'K-R7T' 30) || fail "a double click on the tray icon did not bring the window back"
    e2e_geometry
    rest_pointer
}
read -r p1x p1y _ p1h < <(entry_rect main slot-1 1)
read -r p5x _ p5w _ < <(entry_rect main slot-5 1)
profiles="$((p5x + p5w - p1x))x${p1h}+${p1x}+${p1y}"
hide_with_close_control
# The first hide says where the program went, once: config.ini remembers it was said.
e2e_poll 10 ini_is Init TrayNotice 1 || fail "the first hide into the tray was not remembered as explained"
e2e_shot tray-notice 0 0 1280 1024
back_from_tray
restored() {
    settled_shot restored-en && at_most "$(differs main-applied restored-en "${WIDTH}x440+0+0")" 0.002 &&
        at_most "$(differs main-applied restored-en "$profiles")" 0
}
e2e_poll 30 restored || fail "the restored window does not show the main page as it was hidden"
step "close to the tray and back"

# 15b. "Start with Windows" in the tray menu registers the log-on task. Wine keeps the task's
# settings (no time limit, also on battery) but drops its trigger, run level and action.
task_file=$WINEPREFIX/drive_c/windows/system32/tasks/HXT_GMouse
rm -f "$task_file"
hide_with_close_control
open_tray_menu tray-menu
click_tray_row startup
task_kept() { [ -f "$task_file" ]; }
e2e_poll 30 task_kept || fail "Start with Windows left no task in $task_file"
grep -q '<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>' "$task_file" &&
    grep -q '<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>' "$task_file" &&
    grep -q '<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>' "$task_file" ||
    fail "the task lacks its settings: $(cat "$task_file")"
rm -f "$task_file"
back_from_tray
step "start with Windows from the tray menu"

# 16. A slot button shows another slot; the close control drops it: nothing reaches the mouse,
# and the current slot stays, in config.ini and in the window the tray brings back.
vm clear >/dev/null
other=$((slot % 5 + 1))
click main "slot-$other"
slot_shown() {
    grab "$work/slot.png" "$X" "$Y" "$WIDTH" "$HEIGHT" &&
        at_least "$(difference "$shots/window-main-applied.png" "$work/slot.png" "$profiles")" 0.05
}
e2e_poll 20 slot_shown || fail "the slot button did not show slot $other"
hide_with_close_control
no_features || fail "a slot button and the close control sent $(features)"
[ "$(ini_value Init CurConfig)" = "$slot" ] || fail "CurConfig changed without Apply"
back_from_tray
e2e_poll 30 restored || fail "back from the tray the window does not show slot $slot as applied"
step "a slot shown, then dropped by the close control"

# 17. Alt+F4 runs the whole close: the exit command is the last report.
e2e_close
[ "$(tail -n1 "$log")" = "$exit_report" ] || fail "the last report before the end was '$(tail -n1 "$log")'"

# 18. In Chinese, from the delivered configuration: the pages, and texts unlike the English ones.
cp "$src/data/config.ini" "$ini"
e2e_language 0
e2e_start_with_virtual_mouse
walk_pages cn
at_least "$(differs main-en main-cn)" 0.002 || fail "the Chinese main page looks like the English one"
e2e_close "in Chinese"

# 19. --tray, as at log-on: no window, yet the mouse gets the configuration; the tray icon brings
# the window. apps.ini binds game.exe to slot 3 for the next step.
printf '[Apps]\r\ngame.exe=3\r\n' | iconv -f UTF-8 -t UTF-16 > "$work/apps.ini"
port=$(e2e_free_port)
log=$work/tray.log
e2e_start --tray "--virtual-mouse=$port" "--virtual-mouse-log=$(e2e_windows_path "$log")"
e2e_poll 30 log_has '07 12' || fail "a start in the tray did not configure the mouse"
no_window 'K-R7T' || fail "a start in the tray showed the window"
step "a start in the tray"

# 20. The tray as a control and program profiles, the window hidden: the tray menu's slot 2 is
# applied and chosen; game.exe in front runs slot 3 (CurConfig kept), another program brings
# slot 2 back, and five quick switches between them apply once at most.
cp "$build/stand_in_program.exe" "$work/game.exe" && cp "$build/stand_in_program.exe" "$work/other.exe" ||
    fail "no stand-in program (build the stand_in_program target)"
reports_of "$ini" 3 > "$work/slot3"
reports_of "$ini" 2 > "$work/slot2"
features_match() { features > "$work/got"; cmp -s "$work/got" "$1"; }
# The tray menu's slot 2 is applied as the slot buttons and Apply do: it is the chosen slot now.
vm clear >/dev/null
open_tray_menu tray-menu-slots
click_tray_row slot2
e2e_poll 20 features_match "$work/slot2" || { diff "$work/got" "$work/slot2" >&2; fail "the tray menu's slot 2 was not applied"; }
e2e_poll 10 ini_is Init CurConfig 2 || fail "the tray menu's slot 2 left CurConfig at $(ini_value Init CurConfig)"
vm clear >/dev/null
"$wine_run" "$work/game.exe" "Stand-in game" 40 700 &
game_pid=$!
started=$(date +%s%N)
e2e_poll 20 features_match "$work/slot3" || { diff "$work/got" "$work/slot3" >&2; fail "game.exe in front did not run slot 3"; }
echo "game.exe in front -> slot 3's last report: $((($(date +%s%N) - started) / 1000000)) ms (with the stand-in's start)"
[ "$(ini_value Init CurConfig)" = 2 ] || fail "a program profile changed CurConfig to $(ini_value Init CurConfig)"
vm clear >/dev/null
"$wine_run" "$work/other.exe" "Stand-in other" 300 700 &
other_pid=$!
e2e_poll 20 features_match "$work/slot2" || { diff "$work/got" "$work/slot2" >&2; fail "another program in front did not bring slot 2 back"; }
game=$(e2e_wait_for_window '^Stand-in game$' 20) && other=$(e2e_wait_for_window '^Stand-in other$' 20) ||
    fail "the stand-in programs have no windows"
vm clear >/dev/null
for w in "$game" "$other" "$game" "$other" "$game"; do xdotool mousemove --window "$w" 100 75 click 1; done
e2e_poll 20 features_match "$work/slot3" || { diff "$work/got" "$work/slot3" >&2; fail "five quick switches did not end in slot 3 once"; }
e2e_holds 1 features_match "$work/slot3" || fail "five quick switches applied more than once: $(features | grep -c '^07 12')"
step "program profiles"

# 21. The indicator, the window hidden and another program in front: a host DPI step shows it
# at once without taking the focus, and it goes by itself; "Show indicator" off, none shows.
vm clear >/dev/null
xdotool mousemove --window "$other" 100 75 click 1
e2e_poll 20 features_match "$work/slot2" || fail "the other program did not bring slot 2 back"
focus=$(xdotool getwindowfocus)
vm_click 6  # the start key of slot 2: host actions on
indicator_shown() { [ -n "$(xdotool search --onlyvisible --name '^HXT_GMouse indicator$' 2>/dev/null)" ]; }
indicator_gone() { ! indicator_shown; }
e2e_poll 5 indicator_gone || fail "the indicator of the switch to slot 2 stayed"
vm press 7 >/dev/null
pressed=$(date +%s%N)
until indicator_shown; do
    [ $(($(date +%s%N) - pressed)) -gt 3000000000 ] && fail "a host DPI step showed no indicator"
    sleep 0.02
done
echo "host DPI step -> indicator on screen: $((($(date +%s%N) - pressed) / 1000000)) ms"
vm release 7 >/dev/null
e2e_shot indicator 0 0 1280 1024
[ "$(xdotool getwindowfocus)" = "$focus" ] || fail "the indicator took the focus"
e2e_poll 3 indicator_gone || fail "the indicator stayed more than 3 s"
open_tray_menu tray-menu-indicator
click_tray_row indicator
e2e_poll 10 ini_is Init OSD 0 || fail "Show indicator off is not saved as OSD=0"
vm_click 6
e2e_holds 2 indicator_gone || fail "an indicator showed with Show indicator off"
kill "$game_pid" "$other_pid" 2>/dev/null
step "the indicator"

back_from_tray
e2e_close "after a start in the tray"
echo "screenshots: $shots/startup.png $shots/window-*.png"
echo "PASS ($((SECONDS - e2e_started)) s)"
