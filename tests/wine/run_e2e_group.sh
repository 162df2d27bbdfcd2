#!/usr/bin/env bash
# Runs one group of end-to-end tests in a bed of its own: a fresh copy of the template prefix with
# the program installed and its data file in place, its own wineserver, and an X display (the one
# in $DISPLAY, or a private one). The bed is removed when the group passes and kept, for a look,
# when it fails.
# Usage: run_e2e_group.sh GROUP E2E_TESTS_EXE KESTRANE_EXE SUBST_EXE
set -euo pipefail
group="$1" driver="$2" program="$3" subst="$4"
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
source "$ROOT/tests/wine/bed.sh"

cleanup() {
  [[ -n "${WINEPREFIX:-}" ]] && wineserver -k 2>/dev/null || true
  stop_xvfb
}
trap cleanup EXIT

# Run alone (ctest -L e2e), the first group makes the template; the lock keeps parallel groups
# from making it twice.
mkdir -p "$WINE_BEDS"
exec 9>"$WINE_BEDS/lock"
flock 9
[[ -f "$TEMPLATE/system.reg" ]] || make_template_prefix "$subst"
export WINEPREFIX
WINEPREFIX="$(copy_prefix "e2e-$group")"
flock -u 9

[[ -n "${DISPLAY:-}" ]] || start_xvfb
install_subst "$WINEPREFIX" "$subst"
install_program "$WINEPREFIX" "$program"
write_data_file "$WINEPREFIX"

wineserver -p
report="$WINE_BEDS/e2e-$group.xml"
rm -f "$report"
# Wine's diagnostics of the driver and of the programs it starts also go to C:\e2e-wine-debug.log,
# where a test can read what only Wine reports (the page the help viewer opens, for one).
status=0
wine "$driver" --gtest_filter="$group.*:*/$group.*" --gtest_color=no --gtest_output="xml:Z:$report" \
  2> >(tee "$WINEPREFIX/drive_c/e2e-wine-debug.log" >&2) || status=$?
if ((status == 0)); then
  remove_bed "$WINEPREFIX"
else
  log "the bed of $group is kept in $WINEPREFIX"
fi
exit "$status"
