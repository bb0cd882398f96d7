#!/usr/bin/env bash
# The window and its creating text are on the screen before Ferrule's thread does anything that
# dispatches no messages: on XP, loading ole32 and oleaut32 and starting WMI's in-process DLLs
# from a cold disk keeps it from painting for hundreds of milliseconds. The in-process stand-in,
# slow to answer, blocks the thread the same way: the screen where the window is, copied while
# it sleeps (no message sent to the window), must show the very picture the window paints of
# itself while it waits on a call to another process, when COM's wait loop lets it paint.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin

creating='\rCreating Restore Point.............'
# Long enough for the screen to be copied twice, 100 ms apart, while the call still runs.
delay_ms=$(scaled_wait 4000)

# One created run, NAME, with the stand-in in process (0) or in a server (1). Once the call has
# reached the stand-in, the driver runs COMMANDS, then notes whether it has answered yet.
created_run() {  # NAME 0|1 COMMAND...
  local name=$1 log=$E2E_DIR/$1.log
  start_ferrule FERRULE_STANDIN_LOG="$log" "FERRULE_STANDIN_DELAY_MS=$delay_ms" \
    "FERRULE_STANDIN_SERVER=$2"
  shift 2
  drive "$name" wait-window "Creating Restore Point" 20000 \
    wait-line call "$(win_path "$log")" "call|" 20000 "$@" \
    has-line answered "$(win_path "$log")" "answer|" \
    wait-status 30000 keys alt+l wait-gone 3000
  wait_ferrule 30
  check_eq "$name: stand-in's answers by the time the picture was done" "$(get answered)" 0
  check_eq "$name: exit code" "$FERRULE_RC" 0
  if [ -f "$E2E_DIR/$name.bmp" ]; then convert "$E2E_DIR/$name.bmp" "$E2E_DIR/$name.png"; fi
}

# Blocked: the stand-in sleeps on Ferrule's thread. Only the screen is read meanwhile: a dump
# would ask the window for its fonts and wait for a thread that cannot answer.
created_run blocked 0 screen-pixels "$(win_path "$E2E_DIR/blocked.bmp")"
check_eq "blocked: stand-in saw" "$(standin_event_kinds "$E2E_DIR/blocked.log")" \
  "bind call answer|VT_I4:0 release|SystemRestore"

# Waiting on another process: the window paints itself in full when asked, in COM's wait loop.
created_run waiting 1 screenshot "$(win_path "$E2E_DIR/waiting.bmp")" dump waiting
check_eq "waiting: Label1's text" "$(get waiting.Label1.text)" "$creating"
check_eq "waiting: Label1's font file (the dialog font)" "$(get waiting.Label1.font_file)" \
  sserife.fon
check_eq "waiting: Label2's and cmdClose's WS_VISIBLE" \
  "$(get waiting.Label2.visible) $(get waiting.cmdClose.visible)" "0 0"

# Two blank, black or covered pictures would be equal too: the waiting one must show the text.
# The picture is the window's rectangle; its client area sits inside equal side and bottom frames.
IFS=, read -r _ _ width height <<<"$(get waiting.window)"
IFS=x read -r client_width client_height <<<"$(get waiting.client)"
IFS=, read -r x y w h <<<"$(get waiting.Label1.rect)"
frame=$(((width - client_width) / 2))
label1=${w}x$h+$((frame + x))+$((height - client_height - frame + y))
text_pixels=$(convert "$E2E_DIR/waiting.bmp" -crop "$label1" +repage -depth 8 txt:- | grep -c '#000000' || true)
check_num "waiting: pixels of the text colour in Label1's rectangle ($label1)" "$text_pixels" -ge 100
[ "$text_pixels" -lt 100 ] ||
  check_eq "pixels of the blocked window that differ from the waiting one's" \
    "$(compare -metric AE "$E2E_DIR/blocked.bmp" "$E2E_DIR/waiting.bmp" null: 2>&1 || true)" 0
note "pictures" "$E2E_DIR/blocked.png $E2E_DIR/waiting.png"
finish
