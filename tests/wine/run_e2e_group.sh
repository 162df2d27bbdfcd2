#!/usr/bin/env bash
# Runs one group of end-to-end tests in a bed of its own: a fresh copy of the template prefix with
# the program installed and its data file in place, its own wineserver, and an X display (the one
# in $DISPLAY, or a private one). The bed is removed when the group passes and kept, for a look,
# when it fails.
#
# A bed that does not come up (a step of making it fails, or the driver ends before its first
# case: on a loaded machine Wine now and then ends a new bed's first program without a word) is
# set up once more. A case that ran and failed fails the group: nothing runs it again. A group
# that runs no case (its filter matches none) fails too. For ./test's summary, in $WINE_BEDS:
# e2e-GROUP.retried says why a bed was set up again, e2e-GROUP.starts names each process start
# the driver tried a second time, e2e-GROUP.nocases marks a group that ran no case, and
# e2e-GROUP.flaky names each case that failed and then passed.
# Usage: run_e2e_group.sh GROUP E2E_TESTS_EXE KESTRANE_EXE SUBST_EXE
set -euo pipefail
group="$1" driver="$2" program="$3" subst="$4"
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
source "$ROOT/tests/wine/bed.sh"

cleanup() {
  stop_stall
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
flaky="$WINE_BEDS/e2e-$group.flaky"
starts="$WINE_BEDS/e2e-$group.starts"
nocases="$WINE_BEDS/e2e-$group.nocases"
out="$WINE_BEDS/e2e-$group.out"
rm -f "$report" "$retried" "$flaky" "$starts" "$nocases" "$out" "$out.first"
# The driver (RunCommand) appends a line here for each start it had to try again, in either bed.
export KESTRANE_RETRIED_STARTS="Z:${starts//\//\\}"

# Says why a bed did not come up, on stderr and, for the summary, in $retried.
bed_failed() {
  log "the bed of $group did not come up: $*"
  echo "$*" >>"$retried"
}

# Makes a new bed named NAME with its services running; fails, saying which step failed, when
# one does, so that no driver runs in a half-made bed.
setup_bed() {
  export WINEPREFIX="$WINE_BEDS/$1"
  flock 9
  copy_prefix "$1" >/dev/null || { flock -u 9; bed_failed "copying the template to $1"; return 1; }
  flock -u 9
  install_subst "$WINEPREFIX" "$subst" || { bed_failed "installing subst.exe"; return 1; }
  install_program "$WINEPREFIX" "$program" || { bed_failed "installing the program"; return 1; }
  write_data_file "$WINEPREFIX" || { bed_failed "writing the data file"; return 1; }
  if needs_stall "$group"; then
    start_stall "$WINEPREFIX" || { bed_failed "mounting the share that stalls"; return 1; }
  fi
  wineserver -p || { bed_failed "starting the wineserver"; return 1; }
  # The bed's services (the mount manager among them) start with its first program; starting
  # them here keeps that out of the first case's time limits.
  wine cmd /c exit || { bed_failed "starting its services (wine cmd /c exit)"; return 1; }
}

# Runs the group in the bed; its status is the driver's.
run_driver() {
  rm -f "$report"
  # Wine's diagnostics of the driver and of the programs it starts also go to
  # C:\e2e-wine-debug.log, where a test can read what only Wine reports (the page the help
  # viewer opens, for one).
  # Now and then the driver stalls at its start, waiting on the bed's wineserver; the limit ends
  # it well within ctest's, so that the cleanup runs and a driver that never began a case is
  # taken for a bed that did not come up.
  local status=0
  timeout -k 10 "${E2E_DRIVER_LIMIT_S:-240}" wine "$driver" --gtest_filter="$group.*:*/$group.*" --gtest_color=no \
    --gtest_output="xml:Z:$report" \
    2> >(tee "$WINEPREFIX/drive_c/e2e-wine-debug.log" >&2) | tee "$out" ||
    status=$?
  return "$status"
}

# One run in a new bed named NAME: 0 when the group passed, 1 when it failed, 2 when the bed did
# not come up before the first case.
run_in_bed() {
  setup_bed "$1" || return 2
  local status=0
  run_driver || status=$?
  if ((status == 0)); then
    # GoogleTest ends well when its filter matches nothing; a group that checked nothing has
    # not passed.
    local ran
    ran="$(cases_run "$out")"
    ((${ran:-0} > 0)) && return 0
    log "e2e.$group ran no case: the filter $group.*:*/$group.* matches none in the driver"
    touch "$nocases"
    return 1
  fi
  if ! case_started "$out"; then
    bed_failed "the driver ended (status $status) before its first case"
    return 2
  fi
  return 1
}

result=0 first_bed=""
run_in_bed "e2e-$group" || result=$?
stop_stall
if ((result == 2)); then
  first_bed="$WINEPREFIX"
  [[ -f "$out" ]] && mv "$out" "$out.first"
  log "setting up $group once more, in a new bed (the first, $first_bed, is kept until then)"
  if [[ -d "$first_bed" ]]; then
    wineserver -k 2>/dev/null || true
    wineserver -w || true
  fi
  result=0
  run_in_bed "e2e-$group-again" || result=$?
  stop_stall
  if ((result == 0)); then
    flaky_cases "$out.first" "$out" >"$flaky"
    remove_bed "$first_bed"
  fi
fi
rm -f "$out" "$out.first"
if ((result == 0)); then
  remove_bed "$WINEPREFIX"
else
  log "the bed of $group is kept in $WINEPREFIX${first_bed:+, its first in $first_bed}"
fi
exit "$result"
