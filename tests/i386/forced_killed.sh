#!/usr/bin/env bash
# A forced run ended from outside once Ferrule's window exists, each way a run is ended: its
# wrapper killed with SIGKILL alone, its whole tree killed as ctest kills a test past its limit,
# SIGTERM to its wrapper, SIGINT to its process group as Ctrl-C sends it. Each time, within 10 s
# no process of the run is left (wineserver and the stand-in's server included), nothing holds
# its output open, and the machine's binfmt_misc holds what it held before. Skipped where
# forced_run is.
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
    wait-window "$title" 60000 >"$3.driver" 2>&1 && touch "$3"
  wait
  exit 0
fi

skip_unless_forced_possible
source "$source_dir/tests/e2e/lib.sh"

# Not exported here: every process that carries it belongs to the run.
prefix=$E2E_DIR/prefix
run_processes() {  # PID-NAMESPACE
  local proc
  for proc in /proc/[0-9]*; do
    if [ "$(readlink "$proc/ns/pid" 2>/dev/null)" = "$1" ] ||
      grep -qzxF "WINEPREFIX=$prefix" "$proc/environ" 2>/dev/null; then
      echo "${proc#/proc/}"
    fi
  done
}
# Whatever a failed check left behind.
trap 'status=$?; pids=$(run_processes none | paste -sd" "); [ -z "$pids" ] || kill -KILL $pids 2>/dev/null
  [ "$status" -ne 0 ] || rm -rf "$E2E_DIR"; exit "$status"' EXIT

rm -rf "$E2E_DIR"
mkdir -p "$E2E_DIR"
[ -f "$FERRULE_WINEPREFIX/.ferrule-ready" ] || die "no test prefix at $FERRULE_WINEPREFIX"
WINEPREFIX=$FERRULE_WINEPREFIX wineserver -w >/dev/null 2>&1 || true
cp -a "$FERRULE_WINEPREFIX" "$prefix"
WINEPREFIX=$prefix "$source_dir/scripts/register-standin" "$prefix" "$(standin_dll)" \
  >"$E2E_DIR/register.log" 2>&1 || die "register-standin failed: $(cat "$E2E_DIR/register.log")"
WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
before=$(binfmt_listing)

# Every process below PID, deepest first.
descendants() {  # PID
  local child
  for child in $(pgrep -P "$1" || true); do
    descendants "$child"
    echo "$child"
  done
}

ended_run() {  # wrapper-KILL|tree-KILL|wrapper-TERM|group-INT
  local name=$1 ready=$E2E_DIR/$1.ready out=$E2E_DIR/$1.out pipe=$E2E_DIR/$1.pipe
  local reader wrapper namespace deadline ended_at done_ms
  mkfifo "$pipe"
  cat "$pipe" >"$out" &
  reader=$!
  # A session of its own, so that its process group is the run alone; SIGINT as a terminal's
  # foreground job has it, not ignored as a background job's.
  setsid env --default-signal=INT "$source_dir/scripts/i386-emulation" --forced \
    bash "$0" --inside "$prefix" "$ready" >"$pipe" 2>&1 &
  wrapper=$!
  # Emulated from the start, whatever this machine's own mode: its waits are the emulated ones.
  deadline=$(($(now_ms) + 120000))
  until [ -f "$ready" ] || [ "$(now_ms)" -ge "$deadline" ] || ! kill -0 "$wrapper" 2>/dev/null; do
    sleep 0.1
  done
  # The namespace's first process is unshare's child.
  namespace=$(readlink "/proc/$(pgrep -P "$(pgrep -P "$wrapper")")/ns/pid" 2>/dev/null || echo none)
  if ! [ -f "$ready" ] || [ "$namespace" = none ]; then
    fail "$name: Ferrule's window never appeared under the forced run ($(tail -n 3 "$out" "$ready.driver" 2>&1 | tr '\n' ' '))"
    kill -KILL "$wrapper" 2>/dev/null || true
    return
  fi
  ended_at=$(now_ms)
  case $name in
    tree-KILL)
      # As ctest does: stop the top, then kill all it has below it, then it.
      kill -STOP "$wrapper"
      kill -KILL $(descendants "$wrapper") "$wrapper"
      ;;
    wrapper-KILL) kill -KILL "$wrapper" ;;
    wrapper-TERM) kill -TERM "$wrapper" ;;
    group-INT) kill -INT -- "-$wrapper" ;;
  esac
  wait "$wrapper" 2>/dev/null || true
  # The promise holds 10 s after the end, whatever the machine's speed.
  deadline=$((ended_at + 10000))
  done_ms=
  while [ "$(now_ms)" -lt "$deadline" ]; do
    if [ -z "$(run_processes "$namespace")" ] && ! kill -0 "$reader" 2>/dev/null; then
      done_ms=$(($(now_ms) - ended_at))
      break
    fi
    sleep 0.2
  done
  check_eq "$name: processes of the run 10 s after" "$(run_processes "$namespace" | paste -sd' ')" ""
  check_eq "$name: its output still held open 10 s after" \
    "$(kill -0 "$reader" 2>/dev/null && echo held || echo closed)" closed
  check_eq "$name: the machine's binfmt_misc" "$([ "$(binfmt_listing)" = "$before" ] && echo "as before")" \
    "as before"
  [ -z "$done_ms" ] || note "$name: ms until all were gone" "$done_ms"
  kill "$reader" 2>/dev/null || true
  wait "$reader" 2>/dev/null || true
}

for way in wrapper-KILL tree-KILL wrapper-TERM group-INT; do ended_run "$way"; done
finish
