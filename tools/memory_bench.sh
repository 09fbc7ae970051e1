#!/usr/bin/env bash
# Memory benchmark: the resident memory (VmRSS of its Wine process) of the program with its
# window up and again once its close control has hidden it in the tray, against an empty Win32
# window of its size, RUNS times each (default 3) in the same Wine prefix; prints the medians and
# the ratios. The program runs from a copy of build/dist with its virtual mouse (the test build's
# exe: without a mouse the release exe says so and ends); each reading is taken after the process
# has been left alone for SETTLE seconds (default 3).
# Usage: tools/memory_bench.sh [RUNS]
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
runs=${1:-3}
settle=${SETTLE:-3}
hxt_bench_setup "$@"
# The skin's rectangles and the pollers of the end-to-end tests: the close control is clicked
# where a user clicks it.
source "$HXT_ROOT/tests/e2e/lib.sh"
src=$HXT_ROOT pid="" logger_pid=""
export HXT_WINEPREFIX=$HXT_ROOT/build/win64/wineprefix-bench
export WINEPREFIX=$HXT_WINEPREFIX
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
hxt_bench_folder "$work"
app=$work/HXT_GMouse
cp "$HXT_ROOT/build/win64/empty_window.exe" "$work/"
"$HXT_ROOT/tools/wine-run.sh" --prepare-only
wineserver -p 2>/dev/null || true
e2e_set_title "$app/config.ini"

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
settled_rss() { sleep "$settle"; rss_kb "$1"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
wine_pid_of() { pgrep -f "$1" | head -n 1; }

empty=() shown=() tray=()
for i in $(seq 1 "$runs"); do
    "$HXT_ROOT/tools/wine-run.sh" "$work/empty_window.exe" >/dev/null 2>&1 &
    pid=$!
    e2e_wait_for_window '^HXT empty window$' 60 >/dev/null || fail "the empty window did not come up"
    empty+=("$(settled_rss "$pid")")
    kill "$pid"; wait "$pid" 2>/dev/null || true

    port=$(e2e_free_port)
    (cd "$app" && exec "$HXT_ROOT/tools/wine-run.sh" ./HXT_GMouse.exe "--virtual-mouse=$port") >/dev/null 2>&1 &
    pid=$!
    e2e_wait_for_main_window
    shown+=("$(settled_rss "$pid")")
    click main close
    e2e_poll 30 no_window "^$title\$" || fail "the close control did not hide the window"
    tray+=("$(settled_rss "$pid")")
    (cd "$app" && "$HXT_ROOT/tools/wine-run.sh" ./HXT_GMouse.exe --quit) >/dev/null 2>&1 || fail "--quit did not end the program"
    wait "$pid" 2>/dev/null || true
    pid=""
    echo "run $i: empty window ${empty[-1]} kB, program ${shown[-1]} kB with its window, ${tray[-1]} kB in the tray"
done
e=$(printf '%s\n' "${empty[@]}" | median)
s=$(printf '%s\n' "${shown[@]}" | median)
t=$(printf '%s\n' "${tray[@]}" | median)
awk -v e="$e" -v s="$s" -v t="$t" 'BEGIN {
    printf "median resident memory: empty window %.1f MB, program %.1f MB with its window, %.1f MB in the tray\n", e / 1024, s / 1024, t / 1024
    printf "ratio to the empty window: %.2f with the window, %.2f in the tray\n", s / e, t / e
}'
