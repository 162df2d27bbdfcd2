#!/usr/bin/env bash
# Builds the fuzz targets (the "fuzz" CMake preset: clang's libFuzzer, ASan and UBSan), replays the
# kept crash inputs, then fuzzes each target (or only those named) for the given seconds (default 60). Exits non-zero
# on any crash or sanitizer report; the input that caused it is left in build/fuzz/crashes/<t>/.
#   tests/fuzz/run.sh [seconds [target...]]   FUZZ_DIR overrides the build folder (build/fuzz).
set -euo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
SECONDS_EACH="${1:-60}"
OUT="${FUZZ_DIR:-$ROOT/build/fuzz}"
CXX="${FUZZ_CXX:-clang++}"

# Every <target>_fuzz.cpp here is a target; tests/fuzz/CMakeLists.txt names the sources each needs.
TARGETS=()
for f in "$HERE"/*_fuzz.cpp; do TARGETS+=("$(basename "$f" _fuzz.cpp)"); done
if (($# > 1)); then
  TARGETS=("${@:2}")
  for t in "${TARGETS[@]}"; do
    [[ -f "$HERE/${t}_fuzz.cpp" ]] || { echo "fuzz: no target $t" >&2; exit 2; }
  done
fi

if ! "$CXX" --version >/dev/null 2>&1; then
  echo "fuzz: $CXX is missing (install clang and libclang-rt-14-dev)" >&2
  exit 2
fi
# The "fuzz" preset, in the folder asked for.
cmake -S "$ROOT" --preset fuzz -B "$OUT" -DCMAKE_CXX_COMPILER="$CXX" >/dev/null
cmake --build "$OUT" --target "${TARGETS[@]}"
mkdir -p "$OUT/logs"

failed=0
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
for t in "${TARGETS[@]}"; do
  bin="$OUT/bin/$t"
  log="$OUT/logs/$t.log"
  regressions=("$HERE/regressions/$t"/*)
  if [[ -e "${regressions[0]}" ]]; then
    if ! "$bin" "${regressions[@]}" >"$log" 2>&1; then
      echo "fuzz: $t FAILED on a kept regression input; see $log" >&2
      tail -n 30 "$log" >&2
      failed=1
      continue
    fi
    echo "fuzz: $t replayed ${#regressions[@]} regression input(s)"
  fi
  ((SECONDS_EACH > 0)) || continue
  corpus="$OUT/corpus/$t"
  crashes="$OUT/crashes/$t"
  mkdir -p "$corpus" "$crashes"
  # New inputs go to the first folder only, so the committed seeds stay as they are.
  if "$bin" -max_total_time="$SECONDS_EACH" -max_len=4096 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" "$HERE/seeds/$t" >"$log" 2>&1; then
    runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || echo '?')
    cov=$(grep -Eo 'cov: [0-9]+' "$log" | tail -n1 || true)
    echo "fuzz: $t ok: $runs runs in ${SECONDS_EACH}s, ${cov:-cov: ?}, corpus $(ls "$corpus" | wc -l)"
  else
    echo "fuzz: $t FAILED; input in $crashes/, log $log" >&2
    grep -E 'ERROR|SUMMARY|runtime error|deadly signal|Test unit written' "$log" >&2 || tail -n 30 "$log" >&2
    failed=1
  fi
done
exit "$failed"
