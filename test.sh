#!/usr/bin/env bash
# Builds every tree and runs every test, the quick ones first: the native unit tests (ASan/UBSan),
# then the Windows program with its Win32 and end-to-end tests under Wine and Xvfb, while the
# threads under ThreadSanitizer and a short fuzzing run use the processor Wine leaves idle.
# Exits non-zero on any failure; the last line counts the parts that passed and failed.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/tools/common.sh"
hxt_ensure_packages "${HXT_NATIVE_PACKAGES[@]}" "${HXT_WINE_PACKAGES[@]}" || exit 1

logs=$HXT_ROOT/build/logs
mkdir -p "$logs"
passed=0
failures=()
failed_logs=()
started=$SECONDS
# Prints what a part took, counts it and keeps its name when it failed.
part_done() {  # NAME STATUS SINCE [LOG]
  printf '   %s: %s in %d s\n' "$1" "$([ "$2" -eq 0 ] && echo passed || echo FAILED)" $((SECONDS - $3))
  if [ "$2" -eq 0 ]; then passed=$((passed + 1)); else failures+=("$1"); [ -n "${4:-}" ] && failed_logs+=("$4"); fi
}

# The Wine tests' prefix is made while the compilers work: it costs a minute of mostly waiting.
export HXT_WINEPREFIX=$HXT_ROOT/build/win64/wineprefix-tests HXT_WINE_UNMANAGED=1
mkdir -p "$HXT_ROOT/build/win64"
"$HXT_ROOT/tools/wine-run.sh" --prepare-only >"$logs/wine-prefix.log" 2>&1 &
prefix_job=$!

# Includes only point down the layers of src/. The checker must also catch a planted upward include.
echo "== layers"
t=$SECONDS
python3 "$HXT_ROOT/tools/check_layers.py" "$HXT_ROOT/src"
status=$?
planted=$(mktemp -d)
mkdir -p "$planted/device" && printf '#include "app/startup.h"\n' >"$planted/device/planted.cpp"
python3 "$HXT_ROOT/tools/check_layers.py" "$planted" >/dev/null && { echo "the layer check misses device/ including app/"; status=1; }
rm -rf "$planted"
part_done "layer check" $status $t

echo "== native unit tests (ASan, UBSan): built and run first"
t=$SECONDS
hxt_build_native --target hxt_unit_tests >"$logs/build-native.log" 2>&1 || { tail -n 40 "$logs/build-native.log"; exit 1; }
(cd "$HXT_ROOT/build/native" && ctest --output-on-failure -R '^unit_tests$')
part_done "native unit tests" $? $t

# Wine's tests wait on Wine far more than they compute: meanwhile, at a lower priority, the
# threads' tests under ThreadSanitizer and the fuzzers. Each fuzzer runs HXT_FUZZ_SECONDS
# (default 10) from seed HXT_FUZZ_SEED (default 1), so a run repeats; tools/fuzz.sh runs longer.
native_rest() {
  local t=$SECONDS status=0
  renice -n 10 -p $BASHPID >/dev/null
  hxt_build_native >"$logs/build-native-rest.log" 2>&1 || { echo "building the fuzzers failed"; tail -n 40 "$logs/build-native-rest.log"; return 3; }
  "$HXT_ROOT/tools/fuzz.sh" "${HXT_FUZZ_SECONDS:-10}" || status=1
  echo "fuzzers: $status in $((SECONDS - t)) s"
  t=$SECONDS
  hxt_build_tsan >"$logs/build-tsan.log" 2>&1 || { echo "building the ThreadSanitizer tree failed"; tail -n 40 "$logs/build-tsan.log"; return $((status | 2)); }
  (cd "$HXT_ROOT/build/tsan" && ctest --output-on-failure) || status=$((status | 2))
  echo "threads under ThreadSanitizer: $status in $((SECONDS - t)) s"
  return $status
}

echo "== the Windows program and its tests"
t=$SECONDS
hxt_build_win64 >"$logs/build-win64.log" 2>&1 || { tail -n 40 "$logs/build-win64.log"; exit 1; }
echo "   built in $((SECONDS - t)) s"
t_rest=$SECONDS
native_rest >"$logs/native-rest.log" 2>&1 &
rest_job=$!
wait $prefix_job || { cat "$logs/wine-prefix.log"; exit 1; }
echo "== Win32 and end-to-end tests under Wine"
t=$SECONDS
(cd "$HXT_ROOT/build/win64" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure)
part_done "Win32 and end-to-end tests" $? $t
# Only the Wine server of the project's own prefix: the user's Wine session is none of ours.
WINEPREFIX=$HXT_WINEPREFIX wineserver -k 2>/dev/null || true

# Wine is done: what still runs beside it gets the processor back. Processes inherit their
# priority when they start, so the ones running now are raised one by one (as root; otherwise
# they finish at their lower priority).
descendants() { local child; echo "$1"; for child in $(ps -o pid= --ppid "$1"); do descendants "$child"; done; }
renice -n 0 -p $(descendants $rest_job) >/dev/null 2>&1 || true
echo "== fuzzers and the threads under ThreadSanitizer (run beside Wine)"
wait $rest_job
rest=$?
cat "$logs/native-rest.log"
part_done "fuzzers" $((rest & 1)) $t_rest "$logs/native-rest.log"
part_done "threads under ThreadSanitizer" $((rest & 2)) $t_rest

# Logs are long and often read from their tail only: repeat what failed last.
for log in "${failed_logs[@]}"; do echo "== end of $log"; tail -n 25 "$log"; done
for failure in "${failures[@]}"; do echo "FAILED: $failure"; done
echo "== all in $((SECONDS - started)) s"
echo "test.sh: $passed passed, ${#failures[@]} failed"
[ ${#failures[@]} -eq 0 ]
