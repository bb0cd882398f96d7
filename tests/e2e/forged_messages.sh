#!/usr/bin/env bash
# Messages another program posts to the finished window, dressed as a control's, run nothing:
# WM_COMMAND with Close's id but not from the button (no handle, or another control's), the
# timer's id as a button click, and WM_TIMER with Close's id. Each countdown tick is a point
# by which everything posted before it was dispatched: the window must still be there, and
# the tick must come from the timer, a second after the previous one, not at once.
# Alt+L then still ends the program with exit code 0.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin

timer_id=100  # the timer has no window to ask its id of; controls are numbered from 100
start_ferrule FERRULE_STANDIN_LOG="$E2E_DIR/standin.log" FERRULE_STANDIN_ANSWER=0
drive forged wait-window "Creating Restore Point" 20000 wait-status 20000 \
  post-command "$timer_id" 0 none post-timer cmdClose \
  wait-label2 "Closing in 4 seconds." 3000 dump tick1 \
  post-command cmdClose 0 none \
  wait-label2 "Closing in 3 seconds." 3000 dump tick2 \
  post-command cmdClose 0 Label1 \
  wait-label2 "Closing in 2 seconds." 3000 dump tick3 \
  keys alt+l wait-gone 3000
wait_ferrule 20

# label2_at is printed once a tick; the status comes first.
mapfile -t ticks < <(get_all label2_at)
previous=$(get status_at)
cases=("timer's id as a click, WM_TIMER with Close's id" "Close's id, no handle"
  "Close's id, Label1's handle")
for i in 0 1 2; do
  name="tick $((i + 1)) after ${cases[$i]}"
  check_eq "$name: window there" "$(get "tick$((i + 1)).visible")" 1
  if [ -n "${ticks[$i]:-}" ] && [ -n "$previous" ]; then
    # A forged tick would come within milliseconds of the post; the timer's a second later.
    check_num "$name: ms since the previous tick (or the status)" $((ticks[i] - previous)) -ge 500
    previous=${ticks[$i]}
  else
    fail "$name: not seen (Label2 ticks seen at: ${ticks[*]:-none})"
  fi
done
check_match "Alt+L after the forged messages: window gone at (driver ms)" "$(get gone_at)" '^[0-9]+$'
check_eq "exit code" "$FERRULE_RC" 0
finish
