#!/usr/bin/env bash
# After the status appears Label2 counts 4, 3, 2, 1 once a second under an unchanged title and
# the program ends by itself on the fifth tick with exit code 0; Escape does not end it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin

start_ferrule FERRULE_STANDIN_LOG="$E2E_DIR/standin.log" FERRULE_STANDIN_ANSWER=0
drive countdown wait-window "Creating Restore Point" 20000 wait-status 20000 keys escape \
  watch-label2 15000
wait_ferrule 20

# Each seen value is "<ms> <text>".
seen=$(get_all label2_seen | cut -d' ' -f2- | paste -sd'|')
counted='Closing in 5 seconds.|Closing in 4 seconds.|Closing in 3 seconds.|Closing in 2 seconds.|Closing in 1 seconds.'
# The 0 is written in the handler that ends the program; it may or may not be seen.
check_match "Label2 texts in turn" "$seen" "^$(quote_re "$counted")(\|Closing in 0 seconds\.)?$"
check_eq "titles during the countdown" "$(get_all title_seen | cut -d' ' -f2- | sort -u)" \
  "Creating Restore Point"

status_at=$(get status_at)
gone_at=$(get gone_at)
if [ -n "$status_at" ] && [ -n "$gone_at" ]; then
  note "Label2 changes (ms after the status)" \
    "$(get_all label2_seen | awk -v s="$status_at" '{ printf "%s%d", sep, $1 - s; sep = " " }')"
  note "window gone (ms after the status)" "$((gone_at - status_at))"
  # Ends on the fifth one-second tick: Escape must not have ended it, nor a faster timer.
  check_num "ms from the status to the end" "$((gone_at - status_at))" -ge 4500
fi
check_eq "exit code" "$FERRULE_RC" 0
finish
