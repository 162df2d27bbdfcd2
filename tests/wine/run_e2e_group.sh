#!/usr/bin/env bash
# Runs one group of end-to-end tests in a bed of its own: a fresh copy of the template prefix with
# the program installed and its data file in place, its own wineserver, and an X display (the one
# in $DISPLAY, or a private one). The bed is removed when the group passes and kept, for a look,
# when it fails.
#
# Now and then, on a loaded machine, a whole bed goes wrong under Wine: the test driver ends at
# once without a word, or the bed's services never start (no mount manager, no window appears),
# or one process start fails. A group that fails is therefore run once more, whole, in a new bed.
# The first run's output stays in the log and its failures are listed in
# $WINE_BEDS/e2e-GROUP.retried, which ./test's summary names; the group passes only when the
# second run passes in full.
# Usage: run_e2e_group.sh GROUP E2E_TESTS_EXE KESTRANE_EXE SUBST_EXE
set -euo pipefail
group="$1" driver="$2" program="$3" subst="$4"
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
source "$ROOT/tests/wine/bed.sh"

cleanup() {
  [[ -n "${WINEPREFIX:-}" && -d "$WINEPREFIX" ]] && wineserver -k 2>/dev/null || true
  stop_xvfb
}
trap cleanup EXIT

# Run alone (ctest -L e2e), the first group makes the template; the lock keeps parallel groups
# from making it twice.
mkdir -p "$WINE_BEDS"
exec 9>"$WINE_BEDS/lock"
flock 9
[[ -f "$TEMPLATE/system.reg" ]] || make_template_prefix "$subst"
flock -u 9
[[ -n "${DISPLAY:-}" ]] || start_xvfb

report="$WINE_BEDS/e2e-$group.xml"
retried="$WINE_BEDS/e2e-$group.retried"
rm -f "$report" "$retried"

# One run of the group in a new bed named NAME; its status is the driver's.
run_in_bed() {
  export WINEPREFIX
  flock 9
  WINEPREFIX="$(copy_prefix "$1")"
  flock -u 9
  install_subst "$WINEPREFIX" "$subst"
  install_program "$WINEPREFIX" "$program"
  write_data_file "$WINEPREFIX"
  wineserver -p
  # The bed's services (the mount manager among them) start with its first program; starting
  # them here keeps that out of the first case's time limits.
  wine cmd /c exit
  rm -f "$report"
  # Wine's diagnostics of the driver and of the programs it starts also go to
  # C:\e2e-wine-debug.log, where a test can read what only Wine reports (the page the help
  # viewer opens, for one).
  local status=0
  wine "$driver" --gtest_filter="$group.*:*/$group.*" --gtest_color=no \
    --gtest_output="xml:Z:$report" \
    2> >(tee "$WINEPREFIX/drive_c/e2e-wine-debug.log" >&2) | tee "$WINE_BEDS/e2e-$group.out" ||
    status=$?
  return "$status"
}

status=0
run_in_bed "e2e-$group" || status=$?
if ((status != 0)); then
  {
    echo "first run: driver status $status"
    tr -d '\r' <"$WINE_BEDS/e2e-$group.out" | grep -E '^\[  FAILED  \] .* \([0-9]+ ms\)$' ||
      echo "no case reported a failure (the driver ended without its report)"
  } >"$retried"
  first_bed="$WINEPREFIX"
  log "$group failed in its first bed ($first_bed, kept); running it once more in a new one"
  wineserver -k 2>/dev/null || true
  wineserver -w
  status=0
  run_in_bed "e2e-$group-again" || status=$?
fi
rm -f "$WINE_BEDS/e2e-$group.out"
if ((status == 0)); then
  remove_bed "$WINEPREFIX"
else
  log "the bed of $group is kept in $WINEPREFIX"
fi
exit "$status"
