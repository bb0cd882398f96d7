#!/usr/bin/env bash
# The README's run command, headless, with a stand-in that refuses: it answers the box nobody
# is there to press, ends with exit code 1, and leaves screenshots of the window while it
# creates, of the box and of the final window. It works in a folder of its own
# (FERRULE_RUN_DIR), started by a relative path from another folder: what a user's own run left
# in build/, its prefix included, stays as it was, and so do the tests' prefixes.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
mkdir -p "$E2E_DIR"
build=$E2E_DIR/out
shots=(ferrule-creating ferrule-box ferrule)

# What a user's scripts/run left in build/: its files, byte for byte, and its prefix as listed.
users_run_state() {
  local top=$FERRULE_SOURCE/build
  find "$top" -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort | while read -r file; do
    echo "$file $(sha256sum <"$top/$file" | cut -c1-16)"
  done
  [ ! -d "$top/run-prefix" ] || find "$top/run-prefix" -printf '%P %s %T@\n' | LC_ALL=C sort | sha256sum
}
users_before=$(users_run_state)

# The tests' prefixes (ctest's and the scripts' default), as their registry files stand.
test_prefix_state() {
  { cat "$FERRULE_WINEPREFIX"/*.reg "$FERRULE_SOURCE"/build/wineprefix/*.reg 2>/dev/null || true; } |
    sha256sum | cut -c1-16
}
before=$(test_prefix_state)

rc=0
# Without DISPLAY, as on a machine with no screen: the command brings its own Xvfb.
(cd "$FERRULE_SOURCE/.." && env -u DISPLAY -u WINEPREFIX FERRULE_RUN_DIR="$build" \
  FERRULE_STANDIN_ANSWER=1058 FERRULE_STANDIN_DELAY_MS=2000 \
  timeout "$(scaled_wait 100)" "$(basename "$FERRULE_SOURCE")/scripts/run") \
  >"$E2E_DIR/run.log" 2>"$E2E_DIR/run.err" || rc=$?
check_eq "exit code" "$rc" 1
check_eq "what it says" "$(grep '^Ferrule.exe exited' "$E2E_DIR/run.log")" \
  "Ferrule.exe exited with code 1: System Restore refused."

for shot in "${shots[@]}"; do
  size=$(identify -format '%wx%h' "$build/$shot.png" 2>/dev/null || echo none)
  check_match "screenshot $shot.png" "$size" '^[0-9]{2,}x[0-9]{2,}$'
  check_eq "its path printed" "$(grep -c "$build/$shot.png\$" "$E2E_DIR/run.log" || true)" 1
done
driver=$build/driver-run.log
check_eq "box answered" "$(get box_text "$driver")|$(get box_gone_at "$driver" | grep -c .)" \
  "Restore Point creation Failed!|1"
check_eq "final status" "$(get status "$driver")" \
  'Restore Point creation Failed!\rSystem Restore is turned off, or its service is disabled (1058).'
# The same window, first creating then refused: the two pictures differ.
if [ -f "$build/ferrule-creating.png" ] && [ -f "$build/ferrule.png" ]; then
  differing=$(compare -metric AE "$build/ferrule-creating.png" "$build/ferrule.png" null: 2>&1 || true)
  check_num "pixels that differ between the creating and the final window" "${differing%% *}" -gt 100
fi

check_eq "stand-in, out of process" "$(standin_event_kinds "$build/standin-calls.log")" \
  "bind server|start call answer|VT_I4:1058 release|SystemRestore server|exit"
check_eq "stand-in server registered in the run's prefix" \
  "$(grep -ci 'CLSID\\\\'"$(clsid_of kServerClsidText)"'\\\\LocalServer32' \
    "$build/run-prefix/system.reg" || true)" 1
check_eq "test prefixes untouched" "$(test_prefix_state)" "$before"
check_eq "what a user's run left in build/" "$(users_run_state)" "$users_before"
finish
