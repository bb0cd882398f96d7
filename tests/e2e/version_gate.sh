#!/usr/bin/env bash
# Any CurrentVersion but exactly "5.1" brings the "Error" box and exit code 2 before System
# Restore is asked anything; "5.1" itself, last, shows the same prefix does reach it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin
key='Software\Microsoft\Windows NT\CurrentVersion'

set_version() {
  wine reg add "HKLM\\$key" /v CurrentVersion /t REG_SZ /d "$1" /f >>"$E2E_DIR/reg.log" 2>&1 ||
    die "wine reg add /d '$1' failed: $(tail -n 3 "$E2E_DIR/reg.log")"
  # Saves the registry to the prefix's files, where the test can see what was stored.
  wineserver -w
}

versions=("6.1" "5.2" "5.10" " 5.1" "")
for i in "${!versions[@]}"; do
  v=${versions[$i]}
  set_version "$v"
  check_eq "'$v': stored" "$(saved_string "$key" CurrentVersion)" "\"$v\""
  log=$E2E_DIR/standin-$i.log
  start_ferrule FERRULE_STANDIN_LOG="$log"
  drive "gate-$i" wait-window "Creating Restore Point" 20000 wait-box "Error" 20000 dump gate \
    press-box-ok wait-gone 5000
  wait_ferrule 20
  check_eq "'$v': box text" "$(get box_text)" "This utility is only intended for Windows XP."
  check_eq "'$v': box buttons and icons" "$(get box_buttons) $(get box_icons)" "OK 0"
  check_eq "'$v': cmdClose and Label2 visible" \
    "$(get gate.cmdClose.visible) $(get gate.Label2.visible)" "0 0"
  check_eq "'$v': stand-in saw" "$(standin_events "$log")" ""
  check_eq "'$v': exit code" "$FERRULE_RC" 2
done

set_version "5.1"
log=$E2E_DIR/standin-xp.log
start_ferrule FERRULE_STANDIN_LOG="$log" FERRULE_STANDIN_ANSWER=0
drive gate-xp wait-window "Creating Restore Point" 20000 wait-status 20000 keys alt+l wait-gone 3000
wait_ferrule 20
check_gone_at_once "'5.1': Alt+L" "$(keys_at)"
check_eq "'5.1': stand-in saw" "$(standin_events "$log" | cut -d'|' -f1 | paste -sd' ')" \
  "bind call release"
check_eq "'5.1': exit code" "$FERRULE_RC" 0
finish
