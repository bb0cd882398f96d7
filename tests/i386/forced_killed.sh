#!/usr/bin/env bash
# A forced run killed with SIGKILL, as ctest kills a test past its limit, once Ferrule's window
# exists: first its wrapper alone, then its whole process tree. Either way, within 20 s the
# forced entry is gone, no process of the run is left (wineserver and the stand-in's server
# included) and nothing holds the run's output open. Skipped where forced_run is.
set -euo pipefail
source_dir=${FERRULE_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
source "$source_dir/scripts/lib/i386.sh"
FERRULE_SOURCE=$source_dir
source "$source_dir/tests/i386/lib.sh"
title="Creating Restore Point"

# The run itself: Ferrule with a System Restore that answers in ten minutes, from a process of
# its own; READY is written once the driver has seen the window.
if [ "${1:-}" = --inside ]; then
  export WINEPREFIX=$2 FERRULE_WINEPREFIX=$2 FERRULE_STANDIN_SERVER=1 FERRULE_STANDIN_DELAY_MS=600000
  "$source_dir/scripts/wine-run" "$FERRULE_BUILD/Ferrule.exe" &
  "$source_dir/scripts/wine-run" "$FERRULE_BUILD/tools/driver/FerruleDriver.exe" \
    wait-window "$title" 120000 >"$3.driver" 2>&1 && touch "$3"
  wait
  exit 0
fi

skip_unless_forced_possible
source "$source_dir/tests/e2e/lib.sh"
entry=$FERRULE_BINFMT/$I386_FORCED_ENTRY

# Not exported here: every process that carries it belongs to the run.
prefix=$E2E_DIR/prefix
run_processes() {
  { grep -lzxF "WINEPREFIX=$prefix" /proc/[0-9]*/environ 2>/dev/null || true; } | cut -d/ -f3
}
# Whatever a failed check left behind: the run's processes, and the entry if this test's run
# still owns it.
wrapper=
leftovers() {
  local pids
  pids=$(run_processes | paste -sd' ')
  [ -z "$pids" ] || kill -KILL $pids 2>/dev/null || true
  if [ -n "$wrapper" ] && [ -f "$entry" ] &&
    [ "$(cut -d' ' -f1 "$FERRULE_I386_DIR/forced/owner" 2>/dev/null)" = "$wrapper" ]; then
    echo -1 >"$entry"
    rm -f "$FERRULE_I386_DIR/forced/owner"
  fi
}
trap 'status=$?; leftovers; [ "$status" -ne 0 ] || rm -rf "$E2E_DIR"; exit "$status"' EXIT

rm -rf "$E2E_DIR"
mkdir -p "$E2E_DIR"
[ -f "$FERRULE_WINEPREFIX/.ferrule-ready" ] || die "no test prefix at $FERRULE_WINEPREFIX"
WINEPREFIX=$FERRULE_WINEPREFIX wineserver -w >/dev/null 2>&1 || true
cp -a "$FERRULE_WINEPREFIX" "$prefix"
WINEPREFIX=$prefix "$source_dir/scripts/register-standin" "$prefix" "$(standin_dll)" \
  >"$E2E_DIR/register.log" 2>&1 || die "register-standin failed: $(cat "$E2E_DIR/register.log")"
WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true

# Every process below PID, deepest first.
descendants() {  # PID
  local child
  for child in $(pgrep -P "$1" || true); do
    descendants "$child"
    echo "$child"
  done
}

killed_run() {  # NAME wrapper|tree
  local name=$1 ready=$E2E_DIR/$1.ready out=$E2E_DIR/$1.out pipe=$E2E_DIR/$1.pipe
  local reader deadline killed_at pids done_ms
  mkfifo "$pipe"
  cat "$pipe" >"$out" &
  reader=$!
  "$source_dir/scripts/i386-emulation" --forced bash "$0" --inside "$prefix" "$ready" >"$pipe" 2>&1 &
  wrapper=$!
  # Emulated from the start, whatever this machine's own mode: its waits are the emulated ones.
  deadline=$(($(now_ms) + 240000))
  until [ -f "$ready" ] || [ "$(now_ms)" -ge "$deadline" ] || ! kill -0 "$wrapper" 2>/dev/null; do
    sleep 0.1
  done
  if ! [ -f "$ready" ]; then
    fail "$name: Ferrule's window never appeared under the forced run ($(tail -n 3 "$out" "$ready.driver" 2>&1 | tr '\n' ' '))"
    return
  fi
  check_eq "$name: the forced entry while it runs" "$(head -n 1 "$entry" 2>/dev/null)" enabled
  if [ "$2" = wrapper ]; then
    pids=$wrapper
  else
    # As ctest does: stop the top, then kill all it has below it, then it.
    kill -STOP "$wrapper"
    pids="$(descendants "$wrapper" | paste -sd' ') $wrapper"
  fi
  note "$name: processes killed" "$(wc -w <<<"$pids")"
  killed_at=$(now_ms)
  kill -KILL $pids 2>/dev/null || true
  wait "$wrapper" 2>/dev/null || true
  # The promise holds 20 s after the kill, whatever the machine's speed.
  deadline=$((killed_at + 20000))
  done_ms=
  while [ "$(now_ms)" -lt "$deadline" ]; do
    if ! [ -e "$entry" ] && [ -z "$(run_processes)" ] && ! kill -0 "$reader" 2>/dev/null; then
      done_ms=$(($(now_ms) - killed_at))
      break
    fi
    sleep 0.2
  done
  check_eq "$name: forced entry 20 s after the kill" "$([ -e "$entry" ] && head -n 1 "$entry" || echo gone)" gone
  check_eq "$name: processes of the run 20 s after the kill" "$(run_processes | paste -sd' ')" ""
  check_eq "$name: its output still held open 20 s after the kill" \
    "$(kill -0 "$reader" 2>/dev/null && echo held || echo closed)" closed
  [ -z "$done_ms" ] || note "$name: ms from the kill until all were gone" "$done_ms"
  kill "$reader" 2>/dev/null || true
  wait "$reader" 2>/dev/null || true
  leftovers
}

killed_run wrapper-killed wrapper
killed_run tree-killed tree
finish
