# Wine beds for running kestrane.exe and its tests: sourced by ./test, ./run and the e2e wrapper.
# Expects ROOT (the repository) to be set by the caller.

export WINEDEBUG=-all WINEARCH=win64
BUILD="${BUILD:-$ROOT/build}"
WINE_BEDS="${KESTRANE_WINE_BEDS:-$BUILD/wine}"
TEMPLATE="$WINE_BEDS/template"
XVFB_PID=""

log() { printf '== [%dm%02ds] %s\n' $((SECONDS / 60)) $((SECONDS % 60)) "$*" >&2; }

# Installs the tools the build and the beds need, only those that are missing.
install_deps() {
  local packages=(g++-mingw-w64-x86-64 wine64 wine xvfb nsis imagemagick x11-utils xauth fp-utils
    cmake ninja-build libgtest-dev libgmock-dev clang libclang-rt-14-dev fonts-wine fonts-liberation
    fuse3 python3-fusepy)
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return 0
  log "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y "${missing[@]}"
}

# Runs wine's registry tool on the prefix in $WINEPREFIX.
reg_add() { wine reg add "$@" /f >/dev/null; }

# A fresh prefix with what every bed shares: no window manager waits, no debugger on a crash,
# our subst.exe in system32.
make_template_prefix() {
  local subst_exe="$1"
  rm -rf "$TEMPLATE"
  mkdir -p "$(dirname "$TEMPLATE")"
  log "creating the Wine prefix $TEMPLATE"
  WINEPREFIX="$TEMPLATE" DISPLAY= wineboot -i >/dev/null 2>&1
  (
    export WINEPREFIX="$TEMPLATE" DISPLAY=
    reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
    reg_add 'HKCU\Software\Wine\DllOverrides' /v subst.exe /d native
    # A program that crashes ends at once, its fault logged, instead of under a debugger that
    # can hold the group's output open until the group's time is up.
    reg_add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d ''
    install_subst "$TEMPLATE" "$subst_exe"
    install_fonts "$TEMPLATE"
    wineserver -w
  )
}

# Copies the template to $WINE_BEDS/NAME (a bed of its own) and prints its path. Like every
# step of making a bed below, it fails when a step fails, also where the caller's errexit is off.
copy_prefix() {
  local target="$WINE_BEDS/$1"
  WINEPREFIX="$TEMPLATE" wineserver -w
  rm -rf "$target" && cp -a "$TEMPLATE" "$target" || return 1
  printf '%s\n' "$target"
}

# Stops the wineserver of a bed and deletes the bed: a copy of the template is some 700 MB, so a
# bed goes once whatever ran in it has passed.
remove_bed() {
  local prefix="$1"
  [[ -d "$prefix" && "$prefix" != "$TEMPLATE" ]] || return 0
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  WINEPREFIX="$prefix" wineserver -w
  rm -rf "$prefix"
}

# The profile folder of the prefix's user (users/root when Wine runs as root).
user_dir() {
  local prefix="$1" dir
  for dir in "$prefix/drive_c/users/"*; do
    [[ "$(basename "$dir")" == Public ]] && continue
    [[ -d "$dir/AppData/Roaming" ]] && { printf '%s\n' "$dir"; return 0; }
  done
  return 1
}

# The data file as the installer leaves it: two 1,250-byte records of zeros, record 2's letter
# mask (offset 116 within the record) set to 134,217,728, little-endian.
write_data_file() {
  local prefix="$1" user folder
  user="$(user_dir "$prefix")" || return 1
  folder="$user/AppData/Roaming/Halvecki/Kestrane"
  mkdir -p "$folder" && head -c 2500 /dev/zero >"$folder/himem32.qor" &&
    printf '\x00\x00\x00\x08' |
    dd of="$folder/himem32.qor" bs=1 seek=$((1250 + 116)) conv=notrunc status=none
}

# Debian's Wine finds no fonts of its own in a new prefix: without them captions, menus and the
# title bar's buttons are drawn in a fallback face. Its fonts and metric-compatible ones go into
# C:\windows\Fonts, where every Wine program sees them.
install_fonts() {
  local fonts="$1/drive_c/windows/Fonts" f
  mkdir -p "$fonts"
  for f in /usr/share/wine/fonts/* /usr/share/fonts/truetype/liberation/*.ttf; do
    [[ -f "$f" ]] && cp "$f" "$fonts/"
  done
  return 0
}

# Wine's own subst.exe changes nothing; ours replaces it (with the DLL override to native).
install_subst() { cp "$2" "$1/drive_c/windows/system32/subst.exe"; }

# Puts kestrane.exe where the installer puts it.
install_program() {
  local prefix="$1" program="$2"
  mkdir -p "$prefix/drive_c/Program Files/Kestrane" &&
    cp "$program" "$prefix/drive_c/Program Files/Kestrane/kestrane.exe"
}

# What a GoogleTest run printed (its own output, or ctest's -V log of it, whose lines carry a
# prefix): whether any case started, the names of the cases that passed and of those that failed.
case_started() { [[ -f "$1" ]] && tr -d '\r' <"$1" | grep -qE '\[ RUN      \] '; }
passed_cases() {
  [[ -f "$1" ]] || return 0
  tr -d '\r' <"$1" | sed -nE 's/.*\[       OK \] ([^ ]+) \([0-9]+ ms\)$/\1/p' | sort -u
}
failed_cases() {
  [[ -f "$1" ]] || return 0
  tr -d '\r' <"$1" | sed -nE 's/.*\[  FAILED  \] ([^ ,]+\.[^ ,]+)([ ,].*)?$/\1/p' | sort -u
}
# The cases that failed in the run logged in FIRST and passed in the one logged in SECOND: flaky.
# A bed is set up again only when no case ran in the first, so this names none unless a case
# is ever run again after failing.
flaky_cases() { comm -12 <(failed_cases "$1") <(passed_cases "$2"); }
# How many cases the run says it ran, summed over its processes; nothing when none of them got
# as far as saying so (it ended early). A filter or a label that matches no case makes it 0.
cases_run() {
  [[ -f "$1" ]] || return 0
  tr -d '\r' <"$1" | sed -nE 's/.*\[==========\] ([0-9]+) tests? from .* ran\..*/\1/p' |
    awk '{ total += $1; seen = 1 } END { if (seen) print total }'
}

# Starts a private X server on a free display; sets DISPLAY and XVFB_PID.
start_xvfb() {
  local fifo_file
  fifo_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo_file" >/dev/null 2>&1 &
  XVFB_PID=$!
  local i
  for ((i = 0; i < 100; i++)); do
    [[ -s "$fifo_file" ]] && break
    sleep 0.1
  done
  [[ -s "$fifo_file" ]] || { log "Xvfb did not start"; return 1; }
  export DISPLAY=":$(head -n1 "$fifo_file")"
  rm -f "$fifo_file"
}

stop_xvfb() {
  [[ -n "$XVFB_PID" ]] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
  return 0
}

# A share whose server can stop answering, for the groups that need one (and only those, since
# a stalled call holds a process of the bed until it is let go): C:\Remote passes through to
# C:\Served, and while C:\server-stalled exists, volume queries, listings and reads below
# C:\Remote\Share are held (see stall_fs.py).
STALL_GROUPS=(StalledDrive)
STALL_PID=""
STALL_MOUNT=""
STALL_FLAG=""

needs_stall() {
  local g
  for g in "${STALL_GROUPS[@]}"; do [[ "$g" == "$1" ]] && return 0; done
  return 1
}

start_stall() {
  local prefix="$1" i
  STALL_MOUNT="$prefix/drive_c/Remote" STALL_FLAG="$prefix/drive_c/server-stalled"
  rm -f "$STALL_FLAG"
  mkdir -p "$prefix/drive_c/Served/Share" "$STALL_MOUNT" || return 1
  /usr/bin/python3 "$ROOT/tests/wine/stall_fs.py" "$prefix/drive_c/Served" "$STALL_MOUNT" Share \
    "$STALL_FLAG" "$prefix" >"$prefix/stall.log" 2>&1 &
  STALL_PID=$!
  for ((i = 0; i < 100; i++)); do
    mountpoint -q "$STALL_MOUNT" && return 0
    kill -0 "$STALL_PID" 2>/dev/null || break
    sleep 0.1
  done
  log "the stalling share did not mount: $(cat "$prefix/stall.log")"
  stop_stall
  return 1
}

# Lets every held call go first: a process blocked in the share may not die before. The bed's
# programs and its wineserver hold the share open, so they end before it is unmounted.
stop_stall() {
  [[ -n "$STALL_MOUNT" ]] || return 0
  rm -f "$STALL_FLAG"
  local prefix i
  prefix="$(dirname "$(dirname "$STALL_MOUNT")")"
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  WINEPREFIX="$prefix" timeout 30 wineserver -w 2>/dev/null || true
  if mountpoint -q "$STALL_MOUNT"; then umount "$STALL_MOUNT" || umount -l "$STALL_MOUNT" || true; fi
  if [[ -n "$STALL_PID" ]]; then
    kill "$STALL_PID" 2>/dev/null || true
    for ((i = 0; i < 50; i++)); do kill -0 "$STALL_PID" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$STALL_PID" 2>/dev/null || true
    wait "$STALL_PID" 2>/dev/null || true
  fi
  STALL_PID="" STALL_MOUNT="" STALL_FLAG=""
  return 0
}
