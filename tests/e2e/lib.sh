# shellcheck shell=bash disable=SC2034  # variables here are read by the sourcing test
# Shared by the end-to-end tests: a private copy of the XP prefix, Ferrule in the background,
# FerruleDriver beside it under the same wineserver, and checks that print what they saw.
# Source it first thing from a test script.
set -euo pipefail

FERRULE_SOURCE=${FERRULE_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
FERRULE_BUILD=${FERRULE_BUILD:-$FERRULE_SOURCE/build/win32}
FERRULE_WINEPREFIX=${FERRULE_WINEPREFIX:-$FERRULE_BUILD/wineprefix}
export FERRULE_SOURCE FERRULE_BUILD FERRULE_WINEPREFIX
# Natively or under qemu-user's i386 emulation; every wait for something to happen below is a
# scaled_wait, and so is every MS the driver is given (it scales them itself).
source "$FERRULE_SOURCE/scripts/lib/i386.sh"
i386_env
source "$FERRULE_SOURCE/scripts/lib/clsid.sh"

# Run alone, a test brings its own X server; under ctest the whole run already has one.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

E2E_NAME=$(basename "$0" .sh)
E2E_DIR=$FERRULE_BUILD/e2e/$E2E_NAME

# Two runs of one test in one build tree would share, and wipe, the same directory.
if [ -z "${E2E_LOCKED:-}" ]; then
  mkdir -p "$FERRULE_BUILD/e2e"
  E2E_LOCKED=1 exec flock -w "$(scaled_wait 100)" -E 75 "$FERRULE_BUILD/e2e/.$E2E_NAME.lock" bash "$0" "$@"
fi

E2E_FAILURES=0
E2E_START=$(date +%s%N)
FERRULE_PID=
FERRULE_RC=
FERRULE_STARTED_MS=
FERRULE_ENDED_MS=
DRIVE_OUT=
DRIVE_PID=

WINE_CLSID=$(clsid_of kWineWinmgmtsClsidText)  # Wine's own winmgmts handler

now_ms() { echo $(($(date +%s%N) / 1000000)); }

die() {
  echo "FAIL $E2E_NAME: $*" >&2
  exit 1
}

# ---- checks: every line shows the actual value -------------------------------------------

fail() {
  echo "FAIL $*"
  E2E_FAILURES=$((E2E_FAILURES + 1))
}

check_eq() {  # WHAT ACTUAL EXPECTED
  if [ "$2" == "$3" ]; then echo "ok   $1: '$2'"; else fail "$1: actual '$2', expected '$3'"; fi
}

check_match() {  # WHAT ACTUAL EXTENDED-REGEX
  if [[ $2 =~ $3 ]]; then echo "ok   $1: '$2'"; else fail "$1: actual '$2', expected to match /$3/"; fi
}

check_num() {  # WHAT ACTUAL OP LIMIT   (OP: -le -ge -lt -gt -eq)
  if [[ $2 =~ ^-?[0-9]+$ ]] && test "$2" "$3" "$4"; then
    echo "ok   $1: $2 ($3 $4)"
  else
    fail "$1: actual '$2', expected $3 $4"
  fi
}

note() { echo "note $1: $2"; }

# A key or click that ends the program does so at once: the window went within 3 s of it, well
# before the countdown's 5 s could end it instead. Said outright because the driver's wait for
# the window's end may be longer than that under emulation.
check_gone_at_once() {  # WHAT DRIVER-MS-OF-THE-KEY
  local gone_at
  gone_at=$(get gone_at)
  if [[ $2 =~ ^[0-9]+$ && $gone_at =~ ^[0-9]+$ ]]; then
    check_num "ms from $1 to the window gone" $((gone_at - $2)) -le 3000
  else
    fail "ms from $1 to the window gone: $1 at '$2', gone at '$gone_at'"
  fi
}

# When the driver last pressed keys, in its ms.
keys_at() { get keys_at | cut -d' ' -f1; }

# Ends the test: passes only if no check failed.
finish() {
  local ms=$((($(date +%s%N) - E2E_START) / 1000000))
  if [ "$E2E_FAILURES" -eq 0 ]; then
    echo "PASS $E2E_NAME (${ms} ms)"
    exit 0
  fi
  echo "FAIL $E2E_NAME: $E2E_FAILURES check(s) failed (${ms} ms); files in $E2E_DIR"
  exit 1
}

# ---- the prefix ---------------------------------------------------------------------------

cleanup() {
  local status=$?
  if [ -n "${WINEPREFIX:-}" ] && [ "$WINEPREFIX" == "$E2E_DIR/prefix" ]; then
    wineserver -k >/dev/null 2>&1 || true
    [ -n "$FERRULE_PID" ] && wait "$FERRULE_PID" 2>/dev/null || true
    # A passing test's prefix copy is 600 MB of nothing new.
    [ "$status" -eq 0 ] && [ -z "${E2E_KEEP:-}" ] && rm -rf "$E2E_DIR/prefix"
  fi
  return "$status"
}

# A fresh copy of the XP prefix for this test alone, so registry changes stay here.
use_prefix() {
  local base
  [ -f "$FERRULE_WINEPREFIX/.ferrule-ready" ] ||
    die "no test prefix at $FERRULE_WINEPREFIX (scripts/wine-prefix makes it)"
  base=$(cd "$FERRULE_WINEPREFIX" && pwd)
  [ -f "$FERRULE_BUILD/Ferrule.exe" ] || die "no $FERRULE_BUILD/Ferrule.exe"
  [ -f "$(driver_exe)" ] || die "no $(driver_exe)"
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_DIR"
  # A wineserver still running on the base prefix saves its registry on exit: copy after that.
  WINEPREFIX=$base wineserver -w >/dev/null 2>&1 || true
  cp -a "$base" "$E2E_DIR/prefix"
  export WINEPREFIX=$E2E_DIR/prefix FERRULE_WINEPREFIX=$E2E_DIR/prefix
  export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
  trap cleanup EXIT
  # Servers are found by the prefix's inode: one left by an earlier copy that had this inode
  # would serve its own registry, and may have started without a display.
  wineserver -k >/dev/null 2>&1 || true
}

driver_exe() { echo "$FERRULE_BUILD/tools/driver/FerruleDriver.exe"; }

standin_dll() {
  local dll
  for dll in "$FERRULE_BUILD/tools/standin/FerruleStandIn.dll" "$FERRULE_BUILD/FerruleStandIn.dll"; do
    [ -f "$dll" ] && { echo "$dll"; return 0; }
  done
  return 1
}

# Points this test's prefix at the stand-in System Restore provider.
use_standin() {
  local dll
  dll=$(standin_dll) || die "stand-in provider not built: no FerruleStandIn.dll in" \
    "$FERRULE_BUILD/tools/standin or $FERRULE_BUILD"
  "$FERRULE_SOURCE/scripts/register-standin" "$WINEPREFIX" "$dll" >"$E2E_DIR/register.log" 2>&1 ||
    die "register-standin failed: $(cat "$E2E_DIR/register.log")"
}

# Which class handles "winmgmts:" monikers in this prefix (read from the saved registry).
winmgmts_handler() {
  awk 'tolower($0) ~ /^\[software\\\\classes\\\\winmgmts\\\\clsid\]/ { inside = 1; next }
       /^\[/ { inside = 0 }
       inside && /^@=/ { gsub(/^@="|"$/, ""); print }' "$WINEPREFIX/system.reg"
}

# The data of a string value as the prefix saved it, quotes and escapes as in the file.
saved_string() {  # KEY-UNDER-HKLM VALUE-NAME
  KEY="[${1//\\/\\\\}]" NAME="\"$2\"=" awk '
    BEGIN { key = tolower(ENVIRON["KEY"]); name = ENVIRON["NAME"] }
    index(tolower($0), key) == 1 { inside = 1; next }
    /^\[/ { inside = 0 }
    inside && index($0, name) == 1 { print substr($0, length(name) + 1) }' "$WINEPREFIX/system.reg"
}

# ---- Ferrule and the driver ---------------------------------------------------------------

# Starts Ferrule.exe in the background; arguments are NAME=VALUE settings for its environment.
start_ferrule() {
  FERRULE_STARTED_MS=$(now_ms)
  env "$@" "$FERRULE_SOURCE/scripts/wine-run" "$FERRULE_BUILD/Ferrule.exe" \
    >>"$E2E_DIR/ferrule.log" 2>&1 &
  FERRULE_PID=$!
}

# Waits up to SECONDS for Ferrule to end; FERRULE_RC is its exit code, or "hung".
wait_ferrule() {
  local deadline=$(($(now_ms) + $(scaled_wait "${1:-20}") * 1000))
  FERRULE_RC=0
  while kill -0 "$FERRULE_PID" 2>/dev/null; do
    if [ "$(now_ms)" -ge "$deadline" ]; then
      wineserver -k >/dev/null 2>&1 || true
      wait "$FERRULE_PID" 2>/dev/null || true
      FERRULE_PID=
      FERRULE_RC=hung
      return 0
    fi
    sleep 0.05
  done
  FERRULE_ENDED_MS=$(now_ms)
  wait "$FERRULE_PID" || FERRULE_RC=$?
  FERRULE_PID=
}

# Runs the driver's commands; its key=value output goes to $E2E_DIR/NAME.txt (DRIVE_OUT).
drive() {  # NAME COMMAND...
  local rc=0
  DRIVE_OUT=$E2E_DIR/$1.txt
  shift
  "$FERRULE_SOURCE/scripts/wine-run" "$(driver_exe)" "$@" >"$DRIVE_OUT" 2>"$DRIVE_OUT.err" || rc=$?
  driver_ended "$rc"
}

driver_ended() {  # EXIT-CODE
  if [ "$1" -ne 0 ]; then
    fail "driver $(basename "$DRIVE_OUT") stopped (exit $1):" \
      "$(grep -hE '^(error|timeout)=' "$DRIVE_OUT" | tr '\n' ' ')$(head -c 300 "$DRIVE_OUT.err")"
  fi
}

# As drive, but in the background, so the test can look at other things meanwhile;
# drive_join waits for it.
drive_async() {  # NAME COMMAND...
  DRIVE_OUT=$E2E_DIR/$1.txt
  shift
  "$FERRULE_SOURCE/scripts/wine-run" "$(driver_exe)" "$@" >"$DRIVE_OUT" 2>"$DRIVE_OUT.err" &
  DRIVE_PID=$!
}

drive_join() {
  local rc=0
  wait "$DRIVE_PID" || rc=$?
  DRIVE_PID=
  driver_ended "$rc"
}

# The value of the last KEY=... line the driver printed (DRIVE_OUT unless FILE is given).
get() {  # KEY [FILE]
  awk -v k="$1=" 'index($0, k) == 1 { v = substr($0, length(k) + 1) } END { print v }' \
    "${2:-$DRIVE_OUT}"
}

# Every value of KEY, one a line.
get_all() {  # KEY [FILE]
  awk -v k="$1=" 'index($0, k) == 1 { print substr($0, length(k) + 1) }' "${2:-$DRIVE_OUT}"
}

# TEXT as an extended regular expression that matches just it.
quote_re() { sed -E 's/[][\\.^$*+?(){}|]/\\&/g' <<<"$1"; }

# A Linux path as the driver, a Windows program, opens it.
win_path() { echo "Z:$1"; }

# Waits up to SECONDS for a line of FILE that matches REGEX; false if none came.
wait_line() {  # FILE REGEX SECONDS
  local deadline=$(($(now_ms) + $(scaled_wait "$3") * 1000))
  until [ -f "$1" ] && grep -qE "$2" "$1"; do
    [ "$(now_ms)" -lt "$deadline" ] || return 1
    sleep 0.02
  done
}

# Writes, in the background, each new line of the FILEs as "<ms since Ferrule started> <file>
# <line>" to OUT, for timelines across processes that keep no common clock. STAMP_PID is the
# writer; kill it when done.
stamp_lines() {  # OUT FILE...
  local out=$1
  shift
  (
    declare -A seen=()
    while :; do
      for file in "$@"; do
        [ -f "$file" ] || continue
        count=$(wc -l <"$file")
        [ "$count" -gt "${seen[$file]:-0}" ] || continue
        at=$(($(now_ms) - FERRULE_STARTED_MS))
        sed -n "$((${seen[$file]:-0} + 1)),${count}p" "$file" | tr -d '\r' |
          sed "s|^|$at $(basename "$file") |" >>"$out"
        seen[$file]=$count
      done
      sleep 0.02
    done
  ) &
  STAMP_PID=$!
}

# Linux pids of the stand-in's server processes running in this test's prefix.
standin_server_pids() {
  local pid environment
  for pid in $(pgrep -f 'FerruleStandInServer\.exe' || true); do
    environment=$(tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ") || continue
    if grep -qxF "WINEPREFIX=$WINEPREFIX" <<<"$environment"; then echo "$pid"; fi
  done
  return 0
}

# Every event of the stand-in's log, space-separated, without the moniker, the call's arguments
# or the server's pid: "bind server|start call answer|VT_I4:0 release|SystemRestore server|exit".
standin_event_kinds() {  # LOG
  [ -f "$1" ] || return 0
  tr -d '\r' <"$1" | sed -E 's/^(server\|[a-z]+)\|[0-9]+$/\1/; s/^(bind|call)\|.*/\1/' |
    paste -sd' '
}

# The stand-in's event lines (bind, call, release), one a line; empty when it saw nothing.
standin_events() {  # LOG
  [ -f "$1" ] || return 0
  grep -E '^(bind|call|release)\|' "$1" | tr -d '\r' || true
}

# The Linux pid of Ferrule.exe's Wine process in this test's prefix.
ferrule_linux_pid() {
  local pid
  for pid in $(pgrep -f '(^|[/\\])Ferrule\.exe( |$)' || true); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    echo "$pid"
    return 0
  done
  return 1
}

# CPU time (user + system) a process has used so far, in milliseconds.
cpu_ms() {  # PID
  local fields
  # The command name, field 2, is in parentheses and may hold spaces: count after it.
  fields=$(sed 's/.*) //' "/proc/$1/stat") || return 1
  awk -v hz="$(getconf CLK_TCK)" '{ print int(($12 + $13) * 1000 / hz) }' <<<"$fields"
}
