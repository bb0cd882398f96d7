#!/usr/bin/env bash
# Run where nobody can see it, in a window station without a visible display (scheduled tasks,
# services, deployment tools), a message box would wait for ever and so would whoever started
# Ferrule. Each outcome must end by itself with its exit code, the words of the box it did not
# show on the standard error the caller supplied. Some runs go through a batch file under cmd,
# "Ferrule.exe 2>>log.txt", as a scheduled task runs it (cmd waits for a GUI program from a batch
# file and passes the redirected handle on); one gets no handles at all.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin
title="Reruze Dazova Derivod Irari"
station=$FERRULE_BUILD/tools/station/FerruleStation.exe
[ -f "$station" ] || die "no $station"

# cmd takes a slash for the start of a switch.
dos_path() { echo "Z:${1//\//\\}"; }

# Runs Ferrule in a station of its own, by HOW: "none" (no standard handles), "handle" (the
# launcher's file as its standard error) or "cmd" (a batch file's redirection). Waits 60 s at
# most. The launcher's key=value lines go to NAME.txt, Ferrule's standard error to NAME.err.
run() {  # NAME HOW [NAME=VALUE]...
  local name=$1 how=$2 rc=0 command
  shift 2
  OUT=$E2E_DIR/$name.txt
  ERR=$E2E_DIR/$name.err
  command=$(dos_path "$FERRULE_BUILD/Ferrule.exe")
  local redirect=()
  case $how in
    handle) redirect=(--stderr "$(dos_path "$ERR")") ;;
    cmd)
      printf '@echo off\r\n"%s" 2>>"%s"\r\nexit /b %%errorlevel%%\r\n' \
        "$command" "$(dos_path "$ERR")" >"$E2E_DIR/$name.bat"
      command="cmd /c $(dos_path "$E2E_DIR/$name.bat")"
      ;;
  esac
  env "$@" FERRULE_STANDIN_LOG="$E2E_DIR/$name.log" "$FERRULE_SOURCE/scripts/wine-run" \
    "$station" "${redirect[@]}" 60000 "$command" >"$OUT" 2>"$OUT.stderr" || rc=$?
  [ "$rc" -ne 2 ] || fail "$name: launcher: $(get error "$OUT") $(head -c 300 "$OUT.stderr")"
  check_eq "$name: station flags (own, Ferrule's)" \
    "$(get own_station_flags "$OUT") $(get station_flags "$OUT")" "1 0"
  [ -z "$(get timeout "$OUT")" ] || fail "$name: still running after 60 s: $(get timeout "$OUT")"
  note "$name: exit code, ms" "$(get exit_code "$OUT") $(get elapsed_ms "$OUT")"
}

# Ferrule's standard error as bytes, CR shown as \r, each line ending in $ (sed's l).
err_bytes() { [ -f "$ERR" ] && LC_ALL=C sed -n 'l 0' "$ERR" | paste -sd' '; }

run created cmd
check_eq "created: exit code" "$(get exit_code "$OUT")" 0
check_eq "created: log.txt" "$(err_bytes)" ""

run refused cmd FERRULE_STANDIN_ANSWER=1058
check_eq "refused: exit code" "$(get exit_code "$OUT")" 1
check_eq "refused: log.txt" "$(err_bytes)" "$title: Restore Point creation Failed!\\r$"

run bind handle FERRULE_STANDIN_FAIL=bind
check_eq "bind fails: exit code" "$(get exit_code "$OUT")" 3
words="System Restore is not installed or not available on this computer."
check_eq "bind fails: standard error" "$(err_bytes)" \
  "$title: Run-time error '-2147217392 (80041010)': $words\\r$"

# No handle to write the report to: it goes nowhere, and the run still ends.
run call none FERRULE_STANDIN_FAIL=call
check_eq "call fails: exit code" "$(get exit_code "$OUT")" 3

wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v CurrentVersion /t REG_SZ \
  /d 6.1 /f >"$E2E_DIR/reg.log" 2>&1 || die "wine reg add failed: $(tail -n 3 "$E2E_DIR/reg.log")"
run notxp handle
check_eq "not XP: exit code" "$(get exit_code "$OUT")" 2
check_eq "not XP: standard error" "$(err_bytes)" \
  "Error: This utility is only intended for Windows XP.\\r$"
finish
