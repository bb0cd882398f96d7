#!/usr/bin/env bash
# FERRULE_I386=emulated on a machine that runs i386 code natively: under the forced mode, Wine's
# 32-bit part runs under qemu-user (Ferrule's own process is the emulator's), makes a prefix of
# its own and runs Ferrule with the stand-in: exit code 0, one restore point recorded; and
# processor faults reach Windows code as they would natively (win32_PageFaultTest). When the
# mode ends, its binfmt_misc entry is gone. Skipped, with the reason, where the mode cannot be
# set up, or where the machine runs i386 code emulated already (the suite did).
set -euo pipefail
source_dir=${FERRULE_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
source "$source_dir/scripts/lib/i386.sh"
FERRULE_SOURCE=$source_dir
source "$source_dir/tests/i386/lib.sh"

if [ "${1:-}" != --inside ]; then
  skip_unless_forced_possible
  rc=0
  FERRULE_I386=emulated "$source_dir/scripts/i386-emulation" --forced bash "$0" --inside || rc=$?
  left=$(i386_entries | paste -sd,)
  if [ -n "$left" ]; then
    echo "FAIL forced_run: the forced mode's entry outlived it: $left"
    exit 1
  fi
  echo "ok   no binfmt_misc entry left for i386 programs"
  exit "$rc"
fi

source "$source_dir/tests/e2e/lib.sh"
# A prefix of its own, made under emulation, and removed however the run ends.
rm -rf "$E2E_DIR"
mkdir -p "$E2E_DIR"
export WINEPREFIX=$E2E_DIR/prefix FERRULE_WINEPREFIX=$E2E_DIR/prefix
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT

check_eq "i386 mode" "$FERRULE_I386_MODE" emulated
started=$(now_ms)
"$source_dir/scripts/wine-prefix" "$WINEPREFIX" >"$E2E_DIR/prefix.log" 2>&1 ||
  die "scripts/wine-prefix failed: $(tail -n 5 "$E2E_DIR/prefix.log")"
note "prefix made, ms" "$(($(now_ms) - started))"
use_standin
wineserver -k >/dev/null 2>&1 || true

points=$E2E_DIR/points.txt
: >"$points"
start_ferrule FERRULE_STANDIN_LOG="$E2E_DIR/standin.log" FERRULE_STANDIN_POINTS="$points" \
  FERRULE_STANDIN_ANSWER=0
drive_async created wait-window "Creating Restore Point" 20000 wait-status 20000 wait-gone 15000
# The emulator runs Ferrule: its Linux process's executable is the forced entry's qemu. Read once
# the window exists: until then the process may still be env, bash or Debian's wine script, on
# its way through their execs to Wine.
exe="no window"
if wait_line "$DRIVE_OUT" '^window_at=' 20; then
  exe=none
  if pid=$(ferrule_linux_pid); then exe=$(readlink "/proc/$pid/exe" || echo none); fi
fi
drive_join
wait_ferrule 20
check_eq "executable of Ferrule's process" "$exe" "$(i386_forced_qemu)"
check_match "status" "$(get status)" '^New Restore Point successfully created\.'
check_eq "exit code" "$FERRULE_RC" 0
check_eq "restore points recorded" "$(tr -d '\r' <"$points" | cut -d'|' -f2 | paste -sd'|')" \
  "Automatic Restore Point"

# Faults reach Windows code as the processor raised them: only the trap-number library makes
# them so under qemu-user. A crash would wait on Wine's debugger: the run has a limit.
faults=$FERRULE_BUILD/tests/win32/win32_PageFaultTest.exe
rc=0
timeout "$(scaled_wait 30)" "$source_dir/scripts/wine-run" "$faults" >"$E2E_DIR/faults.log" 2>&1 || rc=$?
check_eq "$(basename "$faults") exit code" "$rc" 0
[ "$rc" -eq 0 ] || grep -E 'Failure|Which is|exception|Unhandled|FAILED' "$E2E_DIR/faults.log" | head -n 20
finish
