#!/usr/bin/env bash
# End to end: a user changes settings with the mouse pointer. Edits stay in the window until Apply;
# Apply sends the feature reports and writes config.ini; settings of the advanced and colour pages
# reach config.ini the same way; a slot button followed by the close control sends nothing.
# Every click lands on the centre of an entry read from the shipped skin descriptions.
# Usage: test_interaction.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"
e2e_lay_out
lang=$(grep -m1 -a '^VER_SEL=' "$work/config.ini" | tr -d '\r' | cut -d= -f2)
# Polls take commands, not values: these look again at every try.
features_are() { [ "$(features)" = "$1" ]; }

e2e_start_with_virtual_mouse
slot=$(ini_value Init CurConfig)
section="Config$slot"
at_start=$(features)
[ -n "$at_start" ] || fail "start-up sent no feature reports"
vmouse clear >/dev/null

# Edits: nothing reaches the mouse or config.ini before Apply.
wheel_before=$(ini_value "$section" WHEEL_STATUS)
click main wheel-reverse
click main stage-step-1-3
[ -z "$(features)" ] || fail "an edit reached the mouse before Apply: $(features)"
[ "$(ini_value "$section" WHEEL_STATUS)" = "$wheel_before" ] || fail "an edit reached config.ini before Apply"

# Apply: what start-up sent, with the wheel reversed; the slot and the applied copy hold the edits.
click main apply
expected=$(printf '%s\n' "$at_start" | sed 's/^07 11 00 /07 11 01 /')
e2e_poll 10 features_are "$expected" || fail "Apply sent
$(features)
expected
$expected"
for s in "$section" Config6; do
    [ "$(ini_value "$s" WHEEL_STATUS)" = 1 ] || fail "$s has WHEEL_STATUS $(ini_value "$s" WHEEL_STATUS) after Apply"
    [ "$(ini_value "$s" DPI_SET2)" = 3 ] || fail "$s has DPI_SET2 $(ini_value "$s" DPI_SET2) after Apply"
done

# The advanced page: a pointer speed, applied.
click main tab-advanced
click advance pointer-step-5
click main apply
e2e_poll 10 ini_is "$section" DPI_SPEED 5 || fail "DPI_SPEED is $(ini_value "$section" DPI_SPEED) after Apply"

# The colour page: the LED off, applied; the DPI report carries LED value 3.
click main tab-colour
vmouse clear >/dev/null
click color led-off
click main apply
e2e_poll 10 ini_is "$section" LED_STATUS 3 || fail "LED_STATUS is $(ini_value "$section" LED_STATUS) after Apply"
features | grep -q '^07 09 0[0-3] [89AB]3 ' || fail "Apply sent no DPI report with the LED off: $(features)"

# A slot button shows another slot; the close control drops it: nothing reaches the mouse.
click main tab-main
vmouse clear >/dev/null
other=$((slot % 5 + 1))
click main "slot-$other"
click main close
sleep 1
[ -z "$(features)" ] || fail "a slot button and the close control sent $(features)"
[ "$(ini_value Init CurConfig)" = "$slot" ] || fail "CurConfig changed without Apply"
window_hidden() { [ -z "$(xdotool search --onlyvisible --name "K-R7T" 2>/dev/null)" ]; }
e2e_poll 10 window_hidden || { import -window root "$build/screenshots/interaction-close.png"; fail "the close control left the window visible"; }
echo "interaction: edits, Apply, advanced and colour settings, slot and close as expected"
