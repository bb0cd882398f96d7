#!/usr/bin/env bash
# The finished window's frame, size, place and layout at 96 dpi; Alt+L and the title bar's
# close box each end the program at once with exit code 0.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin

start_ferrule FERRULE_STANDIN_ANSWER=0
drive layout wait-window "Creating Restore Point" 20000 wait-status 20000 dump win \
  keys alt+l wait-gone 3000
wait_ferrule 20
check_gone_at_once "Alt+L" "$(keys_at)"

check_eq "screen dpi" "$(get win.dpi)" 96
check_eq "client area" "$(get win.client)" "274x96"
check_eq "cmdClose rect" "$(get win.cmdClose.rect)" "192,64,65,25"
check_eq "Label2 rect" "$(get win.Label2.rect)" "16,64,145,17"
check_eq "Label1 rect" "$(get win.Label1.rect)" "16,8,233,49"
# Stored order, which is creation and z-order: cmdClose, Label2, Label1.
order=$(for ((i = 0; i < $(get win.children); i++)); do
  printf '%s@%s ' "$(get win.child$i.class)" "$(get win.child$i.rect)"
done)
check_eq "controls in z-order" "$order" "Button@192,64,65,25 Static@16,64,145,17 Static@16,8,233,49 "
check_eq "maximize box" "$(get win.maximizebox)" 0
check_eq "minimize box" "$(get win.minimizebox)" 0
check_eq "sizing frame" "$(get win.thickframe)" 0
check_eq "dialog frame" "$(get win.dlgmodalframe)" 1
check_eq "system menu" "$(get win.sysmenu)" 1
check_eq "taskbar button (WS_EX_APPWINDOW)" "$(get win.appwindow)" 1
check_eq "owner" "$(get win.owner)" 0

IFS=, read -r x y w h <<<"$(get win.window)"
IFS=x read -r sw sh <<<"$(get win.screen)"
note "window on the screen" "$(get win.window) on ${sw}x${sh}"
if [ -n "$x" ] && [ -n "$sw" ]; then
  # Twice the window's offset from the centre; odd sizes leave 1.
  check_match "window off centre (2dx 2dy)" "$((2 * x + w - sw)) $((2 * y + h - sh))" '^-?[01] -?[01]$'
fi

# Both labels left-aligned: a centred or right-aligned label keeps its rectangle, so the
# rectangle checks above cannot see it.
check_eq "labels' alignment" "$(get win.Label1.align) $(get win.Label2.align)" "left left"

# The fit checks below hold for XP only in XP's dialog font, which the test prefix maps as XP
# does: "MS Shell Dlg" to Wine's raster MS Sans Serif (sserife.fon).
check_eq "labels' font file" "$(get win.Label1.font_file) $(get win.Label2.font_file)" \
  "sserife.fon sserife.fon"

# The font must give Label1 room for the status's three lines and Label2 for one. A line wider
# than the label wraps at a word and what falls below the label is cut off, as designed.
note "Label1 text" "$(get win.Label1.text)"
for label in Label1:3:49 Label2:1:17; do
  IFS=: read -r name lines height <<<"$label"
  line=$(get "win.$name.line_height")
  if [ "$line" == -1 ]; then
    fail "$name: the driver cannot measure text in the label's font"
  else
    check_num "height of $lines line(s) in $name's font" "$((lines * line))" -le "$height"
    note "height $name's text needs, wrapped" "$(get "win.$name.text_height")"
    note "width of each line of $name's text, unwrapped" "$(get "win.$name.line_widths")"
  fi
done

check_match "window gone within 3 s of Alt+L, at (driver ms)" "$(get gone_at)" '^[0-9]+$'
check_eq "exit code after Alt+L" "$FERRULE_RC" 0

start_ferrule FERRULE_STANDIN_ANSWER=0
drive closebox wait-window "Creating Restore Point" 20000 wait-status 20000 close-box \
  wait-gone 3000
wait_ferrule 20
note "close box clicked at" "$(get close_clicked)"
check_gone_at_once "the click" "$(get close_at)"
check_eq "exit code after the close box" "$FERRULE_RC" 0
finish
