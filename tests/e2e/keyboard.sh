#!/usr/bin/env bash
# Enter presses Close only once Close has the focus: Enter alone does nothing, Tab gives the
# button the focus, and Enter then ends the program at once.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin

start_ferrule FERRULE_STANDIN_LOG="$E2E_DIR/standin.log" FERRULE_STANDIN_ANSWER=0
drive keyboard wait-window "Creating Restore Point" 20000 wait-status 20000 \
  keys return sleep 300 dump before keys tab sleep 100 dump tabbed keys return wait-gone 3000
wait_ferrule 20

check_eq "window visible after Enter without focus" "$(get before.visible)" 1
check_match "focus before Tab" "$(get before.focus)" '^(none|form)$'
check_eq "focus after Tab" "$(get tabbed.focus)" cmdClose
check_gone_at_once "Enter on Close" "$(keys_at)"
check_eq "exit code" "$FERRULE_RC" 0
finish
