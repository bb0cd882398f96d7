#!/usr/bin/env bash
# With Wine's own System Restore provider the binding fails: the runtime reports the failure
# under the application title while the window still shows the creating text, and exit is 3.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
if [ "$(winmgmts_handler)" != "$WINE_CLSID" ]; then
  "$FERRULE_SOURCE/scripts/register-standin" --unregister "$WINEPREFIX" >"$E2E_DIR/register.log" 2>&1
fi
check_eq "winmgmts handler" "$(winmgmts_handler)" "$WINE_CLSID"

start_ferrule
drive report wait-window "Creating Restore Point" 20000 \
  wait-box "Reruze Dazova Derivod Irari" 20000 dump creating \
  screenshot-box "$(win_path "$E2E_DIR/report.bmp")" press-box-ok wait-gone 5000
wait_ferrule 20

text=$(get box_text)
# Wine 8.0 has no SystemRestore class in root\default: WBEM_E_NOT_FOUND.
check_match "report text" "$text" \
  "^Run-time error '-2147217406 \(80041002\)':\\\\r\\\\rSystem Restore is not installed or not available on this computer\.$"
if [[ $text =~ ^Run-time\ error\ \'(-?[0-9]+)\ \(([0-9A-F]{8})\)\' ]]; then
  check_eq "report number, decimal vs hex" "${BASH_REMATCH[1]}" \
    "$(( 0x${BASH_REMATCH[2]} - (1 << 32) ))"
fi
check_eq "report buttons" "$(get box_buttons)" "OK"
check_eq "report icons" "$(get box_icons)" "0"
check_eq "report owner" "$(get box_owner)" "form"
# XP draws message boxes in Tahoma, not in the dialog font the test prefix gives Ferrule's labels.
check_eq "report font file" "$(get box_font_file)" "tahoma.ttf"

check_eq "title behind the report" "$(get creating.title)" "Creating Restore Point"
check_eq "Label1 behind the report" "$(get creating.Label1.text)" '\rCreating Restore Point.............'
check_eq "Label1 visible" "$(get creating.Label1.visible)" 1
check_eq "cmdClose visible" "$(get creating.cmdClose.visible)" 0
check_eq "Label2 visible" "$(get creating.Label2.visible)" 0
check_eq "exit code" "$FERRULE_RC" 3

if [ -f "$E2E_DIR/report.bmp" ]; then
  mkdir -p "$FERRULE_BUILD/screenshots"
  convert "$E2E_DIR/report.bmp" "$FERRULE_BUILD/screenshots/report.png"
  note "screenshot" "$FERRULE_BUILD/screenshots/report.png"
fi
finish
