#!/usr/bin/env bash
# Runs every fuzzer of build/native for SECONDS each (default 60), from seed HXT_FUZZ_SEED
# (default 1) so that a run repeats exactly; another seed explores further. The corpus grows in
# build/native/corpus-NAME from tests/fuzz/seeds/NAME. A crash fails the run and leaves its input
# beside the corpus. Build first with `source tools/common.sh; hxt_build_native`.
# Usage: tools/fuzz.sh [SECONDS]
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
tree=$root/build/native
failed=0
found=0
for fuzzer in "$tree"/*_fuzz; do
  [ -x "$fuzzer" ] || continue
  found=1
  name=$(basename "$fuzzer")
  corpus=$tree/corpus-$name
  seeds=$root/tests/fuzz/seeds/${name%_fuzz}
  mkdir -p "$corpus"
  echo "Fuzzing $name for $seconds s"
  if ! "$fuzzer" -max_total_time="$seconds" -seed="${HXT_FUZZ_SEED:-1}" -timeout=10 -print_final_stats=0 \
      -artifact_prefix="$tree/$name-" "$corpus" $([ -d "$seeds" ] && echo "$seeds") >"$tree/$name.log" 2>&1; then
    echo "FUZZ FAILURE in $name ($tree/$name.log), its end:"
    tail -n 25 "$tree/$name.log"
    failed=1
  fi
done
[ $found -eq 1 ] || { echo "no fuzzers in $tree (build it with clang: source tools/common.sh; hxt_build_native)"; exit 1; }
exit $failed
