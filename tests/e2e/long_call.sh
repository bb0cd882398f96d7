#!/usr/bin/env bash
# A restore point that takes seconds, as on Windows XP, where the WMI service makes it in
# another process: the stand-in runs as a COM local server and answers after a delay, so
# Ferrule's window thread waits in COM's call loop.
#  A (refused): while the call runs the window keeps its creating text, repaints when another
#    program invalidates it and uses little CPU; Enter and Escape pressed meanwhile do not
#    dismiss the failure box that follows; WM_CLOSE sent during the call returns while the
#    window still shows its creating text; WM_CLOSE sent, then posted, to the window the box
#    holds disabled leaves the box up. The close asked for ends the program at once after OK
#    and the status, exit 1, without a countdown.
#  B (created): Alt+F4 during the call; after the answer the status is shown and the program
#    ends at once, exit 0, without a countdown tick.
#  C (refused, no delay): SC_CLOSE sent, then posted, to the window the failure box holds
#    disabled, leaves the box up; after OK the program ends at once.
#  D (refused, shorter call): a click on the close box during the call does not dismiss the
#    failure box that follows; after OK the program ends at once.
# Each run has one way of asking to close, WM_CLOSE in A, and so fails alone if that way is
# lost: with two in a run, either would end it at once.
# Which texts Ferrule set, and when, comes from Wine's +win trace of Ferrule: the status is
# shown for too short a time before a requested end for a poller to be sure to see it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin

title="Reruze Dazova Derivod Irari"
creating='\rCreating Restore Point.............'
# Patterns of the texts as Wine's trace writes them, CR as \r. The box's own text is the
# refusal's first line alone.
creating_re="^$(quote_re "$creating")\$"
refused_re='^Restore Point creation Failed!\\r.*1058'
created_re='^New Restore Point successfully created\.\\r'
# The call's length is the time the driver has to repaint, press keys and send WM_CLOSE during
# it: it grows with the waits under emulation.
delay_ms=$(scaled_wait 5000)
long_call=(FERRULE_STANDIN_SERVER=1 "FERRULE_STANDIN_DELAY_MS=$delay_ms")
# D needs only a call still running when its click lands, a few ms after the call begins.
short_call=(FERRULE_STANDIN_SERVER=1 "FERRULE_STANDIN_DELAY_MS=$(scaled_wait 2000)")
# E2E_TRACE adds Wine debug channels, e.g. +message to see what reached the window procedures.
trace=("WINEDEBUG=+timestamp,+win${E2E_TRACE:+,$E2E_TRACE}")

# Starts Ferrule for run NAME with its own stand-in log and trace; LOG and WLOG are the log's
# Linux and Windows paths.
start_run() {  # NAME NAME=VALUE...
  RUN=$1
  shift
  LOG=$E2E_DIR/$RUN.log
  WLOG=$(win_path "$LOG")
  : >"$E2E_DIR/ferrule.log"
  start_ferrule FERRULE_STANDIN_LOG="$LOG" "${trace[@]}" "$@"
}

# Ends run NAME: Ferrule's exit code in FERRULE_RC, its trace kept as NAME.trace.
end_run() {
  wait_ferrule 30
  cp "$E2E_DIR/ferrule.log" "$E2E_DIR/$RUN.trace"
}

# Every text Ferrule gave a window, as "<driver ms> <text>" with CR written \r, on the clock of
# the run's driver output (its clock= line).
texts_set() {
  local clock origin
  clock=$(get clock "$E2E_DIR/$RUN.txt")
  [ -n "$clock" ] || return 0
  origin=$((${clock% *} - ${clock#* }))
  sed -nE 's/^ *([0-9]+)\.([0-9]{3}):[0-9a-f]+:trace:win:set_window_text L"(.*)"$/\1\2 \3/p' \
    "$E2E_DIR/$RUN.trace" | awk -v o="$origin" '{ print $1 - o, substr($0, index($0, " ") + 1) }'
}

# The first text set that matches the extended REGEX, as "<driver ms> <text>"; empty if none.
first_text_set() {  # REGEX
  # Through the environment: awk -v would turn a \\r in REGEX into a CR.
  texts_set | RE=$1 awk 'substr($0, index($0, " ") + 1) ~ ENVIRON["RE"] { print; exit }'
}

text_set_at() {  # REGEX
  first_text_set "$1" | cut -d' ' -f1
}

# The stand-in's record of a call its server answered with ANSWER, the object released and the
# server ended.
served() {  # ANSWER
  echo "bind server|start call answer|VT_I4:$1 release|SystemRestore server|exit"
}

# The checks every run ends with: the trace saw the creating text (so it is complete), the
# status was set, no countdown text was, the window went at once after the status, the exit
# code, and the stand-in's own record: the close asked for ended the run only after the object
# was released (and, run as a server, after that server had ended). A proxy Ferrule forgot is
# still released by CoUninitialize, so of these runs only C's in-process object shows a leak.
check_end() {  # STATUS-REGEX EXIT-CODE STAND-IN-EVENTS
  local status_at gone_at
  check_match "$RUN: creating text in Wine's trace (driver ms)" "$(text_set_at "$creating_re")" \
    '^-?[0-9]+$'
  status_at=$(text_set_at "$1")
  check_match "$RUN: status set (driver ms)" "$status_at" '^-?[0-9]+$'
  note "$RUN: status" "$(first_text_set "$1" | cut -d' ' -f2-)"
  check_eq "$RUN: countdown texts set" \
    "$(texts_set | cut -d' ' -f2- | grep -E '^Closing in [0-4] seconds\.$' | paste -sd'|')" ""
  gone_at=$(get gone_at "$E2E_DIR/$RUN.txt")
  if [[ $status_at =~ ^-?[0-9]+$ && $gone_at =~ ^[0-9]+$ ]]; then
    check_num "$RUN: ms from the status to the window gone" $((gone_at - status_at)) -le 3000
  else
    fail "$RUN: ms from the status to the window gone: status at '$status_at', gone at '$gone_at'"
  fi
  check_eq "$RUN: exit code" "$FERRULE_RC" "$2"
  [[ $3 != *server* ]] || wait_line "$LOG" '^server\|exit\|' 10 || true
  check_eq "$RUN: stand-in saw" "$(standin_event_kinds "$LOG")" "$3"
}

# ---- A: refused after a long call; keys and WM_CLOSE during it, WM_CLOSE to the box's ------
start_run a "${long_call[@]}" FERRULE_STANDIN_ANSWER=1058
drive_async a clock wait-window "Creating Restore Point" 30000 \
  wait-line call "$WLOG" "call|CreateRestorePoint" 30000 \
  repaint 3000 has-line answered_by_repaint "$WLOG" "answer|" dump during \
  keys return keys escape has-line answered_by_input "$WLOG" "answer|" dump input \
  send close 10000 dump sent_close has-line answered_by_send "$WLOG" "answer|" \
  wait-line answer "$WLOG" "answer|" 30000 wait-box "$title" 10000 \
  send close 5000 post close box-stays 2000 press-box-ok wait-gone 8000
# Ferrule's CPU time from the call's arrival to its answer, measured from here.
cpu=
if wait_line "$LOG" "^call\|" 40 && pid=$(ferrule_linux_pid); then
  cpu_start=$(cpu_ms "$pid")
  start=$(now_ms)
  if wait_line "$LOG" "^answer\|" 40; then
    cpu=$(($(cpu_ms "$pid") - cpu_start))
    wall=$(($(now_ms) - start))
  fi
fi
drive_join
end_run
out=$E2E_DIR/a.txt

check_eq "a: Label1 during the call" "$(get during.Label1.text "$out")" "$creating"
check_match "a: repainted after invalidation (ms)" "$(get repainted_ms "$out")" '^[0-9]+$'
check_eq "a: stand-in had answered when the repaint was seen" \
  "$(get answered_by_repaint "$out")" 0
if [ -n "$cpu" ]; then
  note "a: Ferrule's CPU during the call" "$cpu ms in $wall ms"
  check_num "a: Ferrule's CPU during the call (% of the wait)" $((cpu * 100 / wall)) -lt 10
else
  fail "a: Ferrule's CPU during the call: no call and answer seen, or no Ferrule process"
fi
check_eq "a: stand-in had answered when the keys were pressed" "$(get answered_by_input "$out")" 0
check_eq "a: Label1 after the keys" "$(get input.Label1.text "$out")" "$creating"
# WM_CLOSE is sent twice, during the call and to the box's disabled window: first and second.
check_eq "a: close sent during the call answered" \
  "$(get_all sent_close_answered "$out" | sed -n 1p)" 1
note "a: close sent during the call took (ms)" "$(get_all sent_close_ms "$out" | sed -n 1p)"
check_eq "a: window after close was sent during the call" \
  "$(get_all sent_close_window "$out" | sed -n 1p)" 1
check_eq "a: Label1 after close was sent" "$(get sent_close.Label1.text "$out")" "$creating"
check_eq "a: stand-in had answered when the send returned" "$(get answered_by_send "$out")" 0
check_eq "a: window enabled when close was sent to the box's" \
  "$(get_all sent_close_enabled "$out" | sed -n 2p)" 0
check_eq "a: window after close was sent to the box's" \
  "$(get_all sent_close_window "$out" | sed -n 2p)" 1
check_eq "a: box text" "$(get box_text "$out")" "Restore Point creation Failed!"
check_eq "a: box still up 2 s after the send and post" "$(get box_stayed "$out")" 1
check_end "$refused_re" 1 "$(served 1058)"
note "a: timeline (driver ms)" "window $(get window_at "$out"), call $(get call_at "$out"),\
 repainted $(get repainted_at "$out"), keys $(get keys_at "$out" | cut -d' ' -f1),\
 close sent $(get_all sent_close_at "$out" | sed -n 1p),\
 answer $(get answer_at "$out"), box $(get box_at "$out"), OK $(get box_gone_at "$out"),\
 status $(text_set_at "$refused_re"), gone $(get gone_at "$out")"

# ---- B: created after a long call; Alt+F4 during it -----------------------------------------
start_run b "${long_call[@]}" FERRULE_STANDIN_ANSWER=0
drive b clock wait-window "Creating Restore Point" 30000 \
  wait-line call "$WLOG" "call|CreateRestorePoint" 30000 \
  keys alt+f4 has-line answered_by_input "$WLOG" "answer|" dump input \
  wait-line answer "$WLOG" "answer|" 30000 wait-gone 8000
end_run
check_eq "b: stand-in had answered when Alt+F4 was pressed" "$(get answered_by_input)" 0
check_eq "b: Label1 after Alt+F4" "$(get input.Label1.text)" "$creating"
check_end "$created_re" 0 "$(served 0)"

# ---- C: refused; SC_CLOSE sent and posted while the box disables the window -----------------
start_run c FERRULE_STANDIN_ANSWER=1058
drive c clock wait-window "Creating Restore Point" 30000 wait-box "$title" 20000 \
  send sc-close 5000 post sc-close box-stays 1500 press-box-ok wait-gone 8000
end_run
check_eq "c: window enabled when sc-close was sent" "$(get sent_sc-close_enabled)" 0
check_eq "c: window after sc-close was sent" "$(get sent_sc-close_window)" 1
check_eq "c: box still up 1.5 s after the send and post" "$(get box_stayed)" 1
check_end "$refused_re" 1 "bind call answer|VT_I4:1058 release|SystemRestore"

# ---- D: refused after a call; a click on the close box during it ----------------------------
start_run d "${short_call[@]}" FERRULE_STANDIN_ANSWER=1058
drive d clock wait-window "Creating Restore Point" 30000 \
  wait-line call "$WLOG" "call|CreateRestorePoint" 30000 \
  close-box has-line answered_by_input "$WLOG" "answer|" dump input \
  wait-line answer "$WLOG" "answer|" 30000 wait-box "$title" 10000 box-stays 1000 \
  press-box-ok wait-gone 8000
end_run
check_eq "d: stand-in had answered when the close box was clicked" "$(get answered_by_input)" 0
check_eq "d: Label1 after the click" "$(get input.Label1.text)" "$creating"
check_eq "d: box still up 1 s after it came" "$(get box_stayed)" 1
check_end "$refused_re" 1 "$(served 1058)"
finish
