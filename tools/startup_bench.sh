#!/usr/bin/env bash
# Start-up benchmark: starts an empty Win32 window and the program alternately, RUNS times each
# (default 10) in the same Wine prefix, and prints the median time from process start to the end
# of the first paint of each, and their ratio. The program runs from a copy of build/dist with
# its virtual mouse (the test build's exe), as a user's first start would; each start is ended
# before the next begins.
# Usage: tools/startup_bench.sh [RUNS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
runs=${1:-10}
hxt_bench_setup "$@"
export HXT_WINEPREFIX=$HXT_ROOT/build/win64/wineprefix-bench
export WINEPREFIX=$HXT_WINEPREFIX
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
hxt_bench_folder "$work"
cp "$HXT_ROOT/build/win64/empty_window.exe" "$work/"
"$HXT_ROOT/tools/wine-run.sh" --prepare-only
# One server for all starts, as on a desktop where Wine already runs (it may be up already).
wineserver -p 2>/dev/null || true
log=$work/first-paint.log
export HXT_FIRST_PAINT_LOG="Z:${log//\//\\}"

# Starts the exe given, waits for its first-paint line, ends it and prints the milliseconds.
first_paint() {
    rm -f "$log"
    "$HXT_ROOT/tools/wine-run.sh" "$@" >/dev/null 2>&1 &
    local pid=$! deadline=$((SECONDS + 60))
    until [ -s "$log" ]; do
        [ $SECONDS -ge $deadline ] && { echo "no first paint from $1 within 60 s" >&2; kill "$pid"; return 1; }
        sleep 0.05
    done
    # The empty window ends by itself; the program on Alt+F4 (its exit report goes to the virtual mouse).
    if kill -0 "$pid" 2>/dev/null; then
        local wid
        wid=$(xdotool search --onlyvisible --name 'K-R7T' 2>/dev/null | head -n1) || true
        if [ -n "$wid" ]; then
            xdotool windowfocus --sync "$wid" 2>/dev/null || true
            xdotool key --clearmodifiers alt+F4
        fi
        for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
    awk '{ print $3 }' "$log"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

empty=() program=()
first_paint "$work/empty_window.exe" >/dev/null  # warms the prefix's files into the page cache
for i in $(seq 1 "$runs"); do
    empty+=("$(first_paint "$work/empty_window.exe")")
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    program+=("$(first_paint "$work/HXT_GMouse/HXT_GMouse.exe" "--virtual-mouse=$port")")
    echo "run $i: empty window ${empty[-1]} ms, program ${program[-1]} ms"
done
empty_median=$(printf '%s\n' "${empty[@]}" | median)
program_median=$(printf '%s\n' "${program[@]}" | median)
echo "median first paint: empty window $empty_median ms, program $program_median ms"
awk -v p="$program_median" -v e="$empty_median" 'BEGIN { printf "ratio program / empty window: %.2f\n", p / e }'
