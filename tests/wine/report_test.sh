#!/usr/bin/env bash
# Checks how the test scripts read GoogleTest's output (tests/wine/bed.sh), on which their
# verdicts rest: a run that says it ran no case counts 0, so its tier or group fails; a run that
# ended before saying so counts nothing, as a bed that did not come up; and only a case that
# failed and then passed is flaky.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
source "$ROOT/tests/wine/bed.sh"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
failures=0
expect() { # WHAT EXPECTED ACTUAL
  [[ "$2" == "$3" ]] && return 0
  echo "FAILED: $1: expected [$2], got [$3]"
  failures=$((failures + 1))
}

# A filter that matches no case, as the driver prints it under Wine (CR LF).
printf '%s\r\n' 'Note: Google Test filter = Nothing.*:*/Nothing.*' \
  '[==========] Running 0 tests from 0 test suites.' \
  '[==========] 0 tests from 0 test suites ran. (0 ms total)' '[  PASSED  ] 0 tests.' >"$dir/none"
expect "a filter that matches no case" 0 "$(cases_run "$dir/none")"
# ctest -V's log of two processes, with its prefixes: one case and many.
printf '%s\n' '1: [==========] 1 test from 1 test suite ran. (5 ms total)' \
  '2: [==========] 377 tests from 53 test suites ran. (2057 ms total)' >"$dir/two"
expect "cases summed over processes" 378 "$(cases_run "$dir/two")"
printf '%s\n' '[==========] Running 3 tests from 1 test suite.' '[ RUN      ] Group.First' >"$dir/ended"
expect "a run that ended early" "" "$(cases_run "$dir/ended")"

printf '%s\n' '[  FAILED  ] G.a (3 ms)' '[  FAILED  ] P/G.b/0, where GetParam() = 1 (2 ms)' \
  '[  FAILED  ] G.c (1 ms)' '[  FAILED  ] 3 tests, listed below:' '[  FAILED  ] G.a' >"$dir/first"
printf '%s\n' '[       OK ] G.a (2 ms)' '[       OK ] P/G.b/0 (1 ms)' '[       OK ] G.d (1 ms)' \
  >"$dir/second"
expect "failed, then passed" "G.a P/G.b/0" "$(flaky_cases "$dir/first" "$dir/second" | paste -sd' ')"
expect "passed in a second bed after a first that ran none" "" \
  "$(flaky_cases "$dir/ended" "$dir/second" | paste -sd' ')"

((failures == 0)) || exit 1
echo "report reading: as expected"
