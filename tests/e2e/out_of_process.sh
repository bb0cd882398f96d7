#!/usr/bin/env bash
# System Restore in a process of its own, slow to answer, as WMI is on Windows XP: the stand-in's
# server (FerruleStandInServer.exe) takes a few seconds over CreateRestorePoint while Ferrule's
# apartment waits in COM's modal loop. Created, refused, failed call, server dying mid-call,
# and Ferrule dying mid-call: each ends as it should, and no server process is left behind.
# E2E_STANDIN_DELAY_MS sets the delay (default 2000) and prints the timeline of the created run.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin
title="Reruze Dazova Derivod Irari"
delay=${E2E_STANDIN_DELAY_MS:-2000}
out_of_process=(FERRULE_STANDIN_SERVER=1 "FERRULE_STANDIN_DELAY_MS=$delay")

# Waits up to SECONDS for this prefix's server processes to be gone; prints those left.
servers_left() {  # SECONDS
  local deadline=$(($(now_ms) + $(scaled_wait "$1") * 1000))
  while [ -n "$(standin_server_pids)" ] && [ "$(now_ms)" -lt "$deadline" ]; do sleep 0.05; done
  standin_server_pids | paste -sd' '
}

# When LINE first appeared in the stamped timeline, in ms after Ferrule started.
stamped() {  # FILE-NAME REGEX
  FILE=$1 RE=$2 awk '{ line = $0; sub(/^[^ ]+ [^ ]+ /, "", line) }
    $2 == ENVIRON["FILE"] && line ~ ENVIRON["RE"] { print $1; exit }' "$E2E_DIR/timeline.txt"
}

# ---- created: the answer comes late and from another process -----------------------------
log=$E2E_DIR/created.log
points=$E2E_DIR/points.txt
: >"$points"
start_ferrule "${out_of_process[@]}" FERRULE_STANDIN_LOG="$log" FERRULE_STANDIN_POINTS="$points"
stamp_lines "$E2E_DIR/timeline.txt" "$log" "$E2E_DIR/created.txt"
drive_async created wait-window "Creating Restore Point" 30000 \
  wait-outcome "$(win_path "$E2E_DIR/created-box.bmp")" 60000 watch-label2 20000

if wait_line "$log" '^call\|' 40; then
  during=$(standin_server_pids | paste -sd' ')
  check_num "created: server processes while the call is in progress" "$(wc -w <<<"$during")" -eq 1
  [[ " $during " == *" $FERRULE_PID "* ]] && fail "created: Ferrule ($FERRULE_PID) is the server"
  note "created: Linux pids, Ferrule and server" "$FERRULE_PID $during"
  check_eq "created: answers before the delay is over" "$(grep -c '^answer|' "$log" || true)" 0
else
  fail "created: no call reached the stand-in"
fi
if wait_line "$log" '^server\|exit\|' $((delay / 1000 + 30)); then
  check_eq "created: server processes after server|exit" "$(servers_left 5)" ""
  # The countdown has not ended: the window still counts and Ferrule still runs.
  check_eq "created: window gone when the server had ended" "$(get gone_at)" ""
  check_match "created: Label2 when the server had ended" "$(get label2_seen | cut -d' ' -f2-)" \
    '^Closing in [1-5] seconds\.$'
  check_eq "created: Ferrule running when the server had ended" \
    "$(kill -0 "$FERRULE_PID" 2>/dev/null && echo yes || echo no)" yes
else
  fail "created: the server never logged its exit"
fi
drive_join
wait_ferrule 20
kill "$STAMP_PID" 2>/dev/null || true
wait "$STAMP_PID" 2>/dev/null || true

check_eq "created: outcome" "$(get outcome)" status
check_eq "created: boxes" "$(get box_at)" ""
check_match "created: Label1" "$(get status)" '^New Restore Point successfully created\.\\r'
check_eq "created: first Label2" "$(get_all label2_seen | head -n 1 | cut -d' ' -f2-)" \
  "Closing in 5 seconds."
status_at=$(get status_at)
gone_at=$(get gone_at)
check_num "created: ms from the status to the window's end" "$((${gone_at:-0} - ${status_at:-0}))" -ge 4500
check_eq "created: stand-in saw" "$(standin_event_kinds "$log")" \
  "bind server|start call answer|VT_I4:0 release|SystemRestore server|exit"
check_eq "created: call" "$(grep '^call|' "$log" | tr -d '\r')" \
  "call|CreateRestorePoint|VT_BSTR:Automatic Restore Point|VT_I2:0|VT_I2:100"
server_pid=$(sed -n 's/^server|start|\([0-9]*\)\r*$/\1/p' "$log")
check_match "created: server's Windows pid" "$server_pid" '^[0-9]+$'
check_eq "created: server|exit names the same process" \
  "$(sed -n 's/^server|exit|\([0-9]*\)\r*$/\1/p' "$log")" "$server_pid"
check_match "created: Ferrule's Windows pid" "$(get form_pid)" '^[0-9]+$'
[ "$(get form_pid)" != "$server_pid" ] ||
  fail "created: server and Ferrule are one Windows process ($server_pid)"
check_eq "created: points recorded" "$(wc -l <"$points")" 1
check_eq "created: exit code" "$FERRULE_RC" 0

# On one clock: when each line reached the files, in ms after Ferrule was started.
call_ms=$(stamped created.log '^call\|')
answer_ms=$(stamped created.log '^answer\|')
check_num "created: ms from the call to the answer (delay $delay)" \
  "$((${answer_ms:-0} - ${call_ms:-0}))" -ge $((delay - 100))
note "created: timeline, ms after Ferrule started" "$(printf '%s ' \
  "window shown $(stamped created.txt '^window_at=')," \
  "call arrived at the server $call_ms," \
  "answer $answer_ms," \
  "status $(stamped created.txt '^status_at=')," \
  "server exit $(stamped created.log '^server\|exit\|')," \
  "Ferrule end $((FERRULE_ENDED_MS - FERRULE_STARTED_MS))")"
note "created: driver's clock" "window_at $(get window_at) status_at $status_at gone_at $gone_at"

# ---- refused: the box, then the refusal in the window -------------------------------------
log=$E2E_DIR/refused.log
start_ferrule "${out_of_process[@]}" FERRULE_STANDIN_LOG="$log" FERRULE_STANDIN_ANSWER=1058
drive refused wait-window "Creating Restore Point" 30000 wait-box "$title" 60000 press-box-ok \
  wait-status 10000 dump after keys alt+l wait-gone 5000
wait_ferrule 20
check_eq "1058: box text" "$(get box_text)" "Restore Point creation Failed!"
check_eq "1058: box buttons" "$(get box_buttons)" "OK"
box_at=$(get box_at)
window_at=$(get window_at)
check_num "1058: ms from the window to the box" "$((${box_at:-0} - ${window_at:-0}))" -ge \
  $((delay - 100))
check_eq "1058: Label1 after OK" "$(get after.Label1.text)" \
  'Restore Point creation Failed!\rSystem Restore is turned off, or its service is disabled (1058).'
check_eq "1058: stand-in saw" "$(standin_event_kinds "$log")" \
  "bind server|start call answer|VT_I4:1058 release|SystemRestore server|exit"
check_eq "1058: server processes left" "$(servers_left 5)" ""
check_gone_at_once "1058: Alt+L" "$(keys_at)"
check_eq "1058: exit code" "$FERRULE_RC" 1

# Runs Ferrule with the server failing as MODE asks (call, die) and dismisses the report.
run_reported() {  # MODE
  log=$E2E_DIR/$1.log
  start_ferrule "${out_of_process[@]}" FERRULE_STANDIN_LOG="$log" FERRULE_STANDIN_FAIL="$1"
  drive "$1" wait-window "Creating Restore Point" 30000 wait-box "$title" 60000 press-box-ok \
    wait-gone 5000
  wait_ferrule 20
}

# ---- the call fails after the delay: the report -------------------------------------------
run_reported call
check_eq "call fails: report" "$(get box_text)" \
  "Run-time error '-2147217407 (80041001)':\\r\\rGeneric failure"
check_eq "call fails: stand-in saw" "$(standin_event_kinds "$log")" \
  "bind server|start call answer|error|80041001|Generic failure release|SystemRestore server|exit"
check_eq "call fails: server processes left" "$(servers_left 5)" ""
check_eq "call fails: exit code" "$FERRULE_RC" 3

# ---- the server dies in the middle of the call: COM's RPC error is reported ---------------
run_reported die
report=$(get box_text)
check_match "server dies: report" "$report" \
  "^Run-time error '(-2147023170 \\(800706BE\\)|-2147023174 \\(800706BA\\))':\\\\r\\\\r"
note "server dies: Wine's RPC error" "$(grep -oE '800706B[AE]' <<<"$report" || echo none)"
check_eq "server dies: stand-in saw" "$(standin_event_kinds "$log")" \
  "bind server|start call"
check_eq "server dies: server processes left" "$(servers_left 5)" ""
check_eq "server dies: exit code" "$FERRULE_RC" 3

# ---- Ferrule dies in the middle of a long call: the server does not wait for it -----------
log=$E2E_DIR/orphan.log
start_ferrule FERRULE_STANDIN_SERVER=1 FERRULE_STANDIN_DELAY_MS=60000 FERRULE_STANDIN_LOG="$log"
if wait_line "$log" '^call\|' 40; then
  # Reaped at once and quietly: bash would report the kill.
  { kill -KILL "$FERRULE_PID" && wait "$FERRULE_PID"; } 2>/dev/null || true
  FERRULE_PID=
  killed_ms=$(now_ms)
  left=$(servers_left 10)
  check_eq "Ferrule killed: server processes left" "$left" ""
  [ -z "$left" ] && note "Ferrule killed: server gone after (ms)" "$(($(now_ms) - killed_ms))"
  check_match "Ferrule killed: stand-in's last event" \
    "$(standin_event_kinds "$log" | awk '{ print $NF }')" '^server\|abandoned$'
else
  fail "Ferrule killed: no call reached the stand-in"
  wait_ferrule 5
fi
finish
