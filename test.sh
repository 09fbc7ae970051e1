#!/usr/bin/env bash
# Builds every tree and runs every test: native unit tests (ASan/UBSan), the threads under
# ThreadSanitizer, a short fuzzing run, the Win32 tests and the end-to-end tests under Wine and
# Xvfb. Exits non-zero on any failure.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/tools/common.sh"
hxt_ensure_packages "${HXT_NATIVE_PACKAGES[@]}" "${HXT_WINE_PACKAGES[@]}" || exit 1

failures=()
failed_logs=()

# Includes only point down the layers of src/. The checker must also catch a planted upward include.
echo "== layers"
python3 "$HXT_ROOT/tools/check_layers.py" "$HXT_ROOT/src" || failures+=("layer check")
planted=$(mktemp -d)
mkdir -p "$planted/device" && printf '#include "app/startup.h"\n' >"$planted/device/planted.cpp"
python3 "$HXT_ROOT/tools/check_layers.py" "$planted" >/dev/null && failures+=("layer check misses device/ including app/")
rm -rf "$planted"
hxt_build_native || exit 1
hxt_build_tsan || exit 1
hxt_build_fuzz || exit 1
hxt_build_win64 || exit 1

# Each fuzzer runs for HXT_FUZZ_SECONDS (default 60) from seed HXT_FUZZ_SEED (default 1), so that
# a run can be repeated exactly; set another seed to explore further. Any crash fails the run.
for fuzzer in "$HXT_ROOT"/build/fuzz/*_fuzz; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus="$HXT_ROOT/build/fuzz/corpus-$name"
  mkdir -p "$corpus"
  seeds="$HXT_ROOT/tests/fuzz/seeds/${name%_fuzz}"
  echo "Fuzzing $name for ${HXT_FUZZ_SECONDS:-60} s"
  if ! "$fuzzer" -max_total_time="${HXT_FUZZ_SECONDS:-60}" -seed="${HXT_FUZZ_SEED:-1}" -timeout=10 -print_final_stats=0 \
      -artifact_prefix="$HXT_ROOT/build/fuzz/$name-" "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) \
      >"$HXT_ROOT/build/fuzz/$name.log" 2>&1; then
    echo "FUZZ FAILURE in $name: the end of its log follows the tests"
    failures+=("fuzzer $name (build/fuzz/$name.log)")
    failed_logs+=("$HXT_ROOT/build/fuzz/$name.log")
  fi
done

echo "== native unit tests"
(cd "$HXT_ROOT/build/native" && ctest --output-on-failure -j "$HXT_JOBS") || failures+=("native unit tests")

# The threads' tests only, in their own tree: a race report ends a test with a failure.
echo "== threads under ThreadSanitizer"
(cd "$HXT_ROOT/build/tsan" && ctest --output-on-failure -j "$HXT_JOBS") || failures+=("threads under ThreadSanitizer")

echo "== Win32 and end-to-end tests under Wine"
(cd "$HXT_ROOT/build/win64" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure) || failures+=("Win32 and end-to-end tests")
# Only the Wine servers of the project's own prefixes: the user's Wine session is none of ours.
for prefix in "$HXT_WINEPREFIX" "$HXT_ROOT/build/win64/wineprefix-e2e"; do
  [ -d "$prefix" ] && { WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; }
done
# Logs are long and often read from their tail only: repeat what failed last.
for log in "${failed_logs[@]}"; do echo "== end of $log"; tail -n 25 "$log"; done
for failure in "${failures[@]}"; do echo "FAILED: $failure"; done
[ ${#failures[@]} -eq 0 ]
