#!/usr/bin/env bash
# System Restore (the stand-in) answers 0: the window reports the new point, the service got
# exactly one call with the right arguments, a point was recorded, and the exit code is 0.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin

log=$E2E_DIR/standin.log
points=$E2E_DIR/points.txt
earlier='7|Installed Office|2008-04-14 09:00:00|type 0|event 100'
echo "$earlier" >"$points"

start_ferrule FERRULE_STANDIN_LOG="$log" FERRULE_STANDIN_POINTS="$points" FERRULE_STANDIN_ANSWER=0
drive created wait-window "Creating Restore Point" 20000 wait-status 20000 dump shown \
  screenshot "$(win_path "$E2E_DIR/ferrule.bmp")" wait-gone 15000
wait_ferrule 20

check_eq "title" "$(get shown.title)" "Creating Restore Point"
status=$(get shown.Label1.text)
# The date of today and a time of the shape the user's locale gives, as the driver saw them.
date=$(quote_re "$(get shown.date)")
time=$(quote_re "$(get shown.time)" | sed -E 's/[0-9]+/[0-9]+/g')
check_match "Label1" "$status" "^New Restore Point successfully created\\.\\\\rIt is listed as: \\\\rAutomatic Restore Point $date $time\$"
check_eq "line breaks in Label1 (the driver writes CR as \\r, LF as \\n)" \
  "$(grep -o '\\[rn]' <<<"$status" | tr -d '\\\n')" "rr"
check_eq "cmdClose visible" "$(get shown.cmdClose.visible)" 1
check_eq "cmdClose text" "$(get shown.cmdClose.text)" "C&lose"
check_eq "Label2 visible" "$(get shown.Label2.visible)" 1
check_eq "Label2" "$(get shown.Label2.text)" "Closing in 5 seconds."

check_eq "stand-in saw" "$(standin_events "$log")" \
  "$(printf '%s\n' 'bind|winmgmts:\\.\root\default:Systemrestore' \
    'call|CreateRestorePoint|VT_BSTR:Automatic Restore Point|VT_I2:0|VT_I2:100' \
    'release|SystemRestore')"
check_eq "earlier point kept" "$(head -n 1 "$points" | tr -d '\r')" "$earlier"
check_eq "points recorded" "$(wc -l <"$points")" 2
check_match "new point" "$(tail -n 1 "$points" | tr -d '\r')" \
  '^(8|[0-9]{2,})\|Automatic Restore Point\|[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\|type 0\|event 100$'
check_eq "exit code" "$FERRULE_RC" 0

if [ -f "$E2E_DIR/ferrule.bmp" ]; then
  mkdir -p "$FERRULE_BUILD/screenshots"
  convert "$E2E_DIR/ferrule.bmp" "$FERRULE_BUILD/screenshots/ferrule.png"
  note "screenshot" "$FERRULE_BUILD/screenshots/ferrule.png"
else
  fail "screenshot: no $E2E_DIR/ferrule.bmp"
fi
finish
