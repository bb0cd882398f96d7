#!/usr/bin/env bash
# System Restore refuses (answers 1058): a box says so under the application title, the window
# then shows the refusal, exit code 1. Binding or calling fails: the failure report, exit 3.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin
title="Reruze Dazova Derivod Irari"

log=$E2E_DIR/refused.log
points=$E2E_DIR/points.txt
: >"$points"
start_ferrule FERRULE_STANDIN_LOG="$log" FERRULE_STANDIN_POINTS="$points" FERRULE_STANDIN_ANSWER=1058
drive refused wait-window "Creating Restore Point" 20000 wait-box "$title" 20000 dump during \
  press-box-ok wait-status 10000 dump after keys alt+l wait-gone 3000
wait_ferrule 20
check_eq "1058: box text" "$(get box_text)" "Restore Point creation Failed!"
check_eq "1058: box buttons" "$(get box_buttons)" "OK"
check_eq "1058: box icons" "$(get box_icons)" 0
check_eq "1058: Label1 while the box is up" "$(get during.Label1.text)" \
  '\rCreating Restore Point.............'
check_eq "1058: cmdClose visible while the box is up" "$(get during.cmdClose.visible)" 0
check_eq "1058: Label1 after OK" "$(get after.Label1.text)" \
  'Restore Point creation Failed!\rSystem Restore is turned off, or its service is disabled (1058).'
check_eq "1058: cmdClose visible after OK" "$(get after.cmdClose.visible)" 1
check_eq "1058: Label2 after OK" "$(get after.Label2.visible) $(get after.Label2.text)" \
  "1 Closing in 5 seconds."
check_eq "1058: stand-in saw" "$(standin_events "$log" | cut -d'|' -f1,2 | paste -sd' ')" \
  "bind|winmgmts:\\\\.\\root\\default:Systemrestore call|CreateRestorePoint release|SystemRestore"
check_eq "1058: points recorded" "$(wc -l <"$points")" 0
check_gone_at_once "1058: Alt+L" "$(keys_at)"
# The refusal outlives an early Close.
check_eq "1058: exit code (closed by Alt+L)" "$FERRULE_RC" 1

# Starts Ferrule with the stand-in failing at MODE (bind or call) and dismisses the report.
run_failing() {  # MODE
  log=$E2E_DIR/$1.log
  start_ferrule FERRULE_STANDIN_LOG="$log" FERRULE_STANDIN_FAIL="$1"
  drive "$1" wait-window "Creating Restore Point" 20000 wait-box "$title" 20000 press-box-ok \
    wait-gone 5000
  wait_ferrule 20
}

run_failing bind
check_eq "bind fails: report" "$(get box_text)" \
  "Run-time error '-2147217392 (80041010)':\\r\\rSystem Restore is not installed or not available on this computer."
check_eq "bind fails: stand-in saw" "$(standin_events "$log" | cut -d'|' -f1 | paste -sd' ')" "bind"
check_eq "bind fails: exit code" "$FERRULE_RC" 3

run_failing call
check_eq "call fails: report" "$(get box_text)" \
  "Run-time error '-2147217407 (80041001)':\\r\\rGeneric failure"
# The object is released on the way out of the failed call.
check_eq "call fails: stand-in saw" "$(standin_events "$log" | cut -d'|' -f1 | paste -sd' ')" \
  "bind call release"
check_eq "call fails: exit code" "$FERRULE_RC" 3
finish
