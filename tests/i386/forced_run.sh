#!/usr/bin/env bash
# FERRULE_I386=emulated on a machine that runs i386 code natively: in the forced mode's own
# namespaces, Wine's 32-bit part runs under qemu-user (Ferrule's own process is the emulator's),
# makes a prefix of its own and runs Ferrule with the stand-in: exit code 0, one restore point
# recorded; and processor faults reach Windows code as they would natively (win32_PageFaultTest).
# Meanwhile nothing outside the run changes: the machine's binfmt_misc, read every 0.2 s, holds
# what it held before, and an i386 program started outside runs natively. Skipped, with the
# reason, where the mode cannot be set up, or where the machine runs i386 code emulated already.
set -euo pipefail
source_dir=${FERRULE_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
source "$source_dir/scripts/lib/i386.sh"
FERRULE_SOURCE=$source_dir
source "$source_dir/tests/i386/lib.sh"

if [ "${1:-}" != --inside ]; then
  skip_unless_forced_possible
  source "$source_dir/tests/e2e/lib.sh"
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_DIR"
  build_sleeper "$E2E_DIR/sleeper"
  before=$(binfmt_listing)
  "$source_dir/scripts/i386-emulation" --forced bash "$0" --inside >"$E2E_DIR/inside.log" 2>&1 &
  run=$!
  changed="" outside=""
  while kill -0 "$run" 2>/dev/null; do
    now=$(binfmt_listing)
    [ "$now" = "$before" ] || changed=$now
    # Once, while the run emulates its own.
    if [ -z "$outside" ] && [ -f "$E2E_DIR/emulating" ]; then outside=$(i386_runner "$E2E_DIR/sleeper"); fi
    sleep 0.2
  done
  rc=0
  wait "$run" || rc=$?
  cat "$E2E_DIR/inside.log"
  check_eq "the machine's binfmt_misc while the forced run went on" "${changed:-as before}" "as before"
  check_eq "what ran an i386 program started outside meanwhile" "$outside" "$E2E_DIR/sleeper"
  check_eq "the forced run's exit code" "$rc" 0
  finish
fi

source "$source_dir/tests/e2e/lib.sh"
check_eq "i386 mode" "$FERRULE_I386_MODE" emulated
check_eq "what runs an i386 program in the run" "$(i386_runner "$E2E_DIR/sleeper")" "$(i386_qemu)"
touch "$E2E_DIR/emulating"
# A prefix of its own, made under emulation, and removed however the run ends.
export WINEPREFIX=$E2E_DIR/prefix FERRULE_WINEPREFIX=$E2E_DIR/prefix
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT

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
# The emulator runs Ferrule: its Linux process's executable is qemu. Read once the window exists:
# until then the process may still be env, bash or Debian's wine script, on its way through their
# execs to Wine.
exe="no window"
if wait_line "$DRIVE_OUT" '^window_at=' 20; then
  exe=none
  if pid=$(ferrule_linux_pid); then exe=$(readlink "/proc/$pid/exe" || echo none); fi
fi
drive_join
wait_ferrule 20
check_eq "executable of Ferrule's process" "$exe" "$(i386_qemu)"
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
