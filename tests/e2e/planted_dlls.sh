#!/usr/bin/env bash
# Ferrule must load no DLL planted beside it or in its current folder.
# Two runs under Wine: planted DLLs next to a copy of Ferrule.exe (the downloads-folder case),
# then in the current folder of a Ferrule.exe that sits elsewhere. A planted DLL leaves a marker
# when its DllMain runs; Wine's loaddll trace also shows every file a bare name resolved to.
# Wine resolves its own builtins' imports through the program's folder too, then loads the
# builtin in place of the planted file; those lines are listed but not counted. Names Wine has
# no builtin for, or whose builtin prefers a native copy (wbemdisp, wmiutils, propsys, dwmapi,
# msctf, ...), load the planted file if anything looks them up there.
set -euo pipefail

if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a bash "$0" "$@"; fi

source_dir=${FERRULE_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
source "$source_dir/scripts/lib/i386.sh"
i386_env
build_dir=${FERRULE_BUILD:-$source_dir/build/win32}
prefix=${FERRULE_WINEPREFIX:-$build_dir/wineprefix}
planted_dir=$build_dir/tools/planted/dlls
control_dll=$build_dir/tools/planted/ferrule-planted-control.dll
exe=$build_dir/Ferrule.exe
run_limit=$(scaled_wait 30)  # seconds before a run is ended by force

for needed in "$exe" "$planted_dir" "$control_dll" "$prefix"; do
  [ -e "$needed" ] || { echo "FAIL: missing $needed (build the win32 preset first)"; exit 1; }
done

export WINEPREFIX=$(cd "$prefix" && pwd) WINEARCH=win32
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
work=$(mktemp -d /tmp/ferrule-planted.XXXXXX)
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
wineserver -k >/dev/null 2>&1 || true

windows_path() { echo "Z:${1//\//\\}"; }
export FERRULE_PLANTED_MARKERS=$(windows_path "$work/markers")

failures=0

# Marker check: the control DLL, loaded by full path, must leave one.
mkdir -p "$work/markers"
WINEDEBUG=-all wine rundll32.exe "$(windows_path "$control_dll"),Ping" \
  >"$work/control.out" 2>"$work/control.err" || true
if [ ! -f "$work/markers/ferrule-planted-control.dll.loaded" ]; then
  echo "FAIL: the control DLL left no marker in $work/markers: the check below would be blind"
  ls -la "$work/markers"
  exit 1
fi
rm -f "$work/markers"/*

# Runs Ferrule from $1 with current folder $2; the report box (Wine's provider answers E_NOTIMPL)
# and the Close button both answer Return.
run_ferrule() {
  local exe_dir=$1 current_dir=$2 log=$3
  (cd "$current_dir" && WINEDEBUG=-all,+loaddll,+pid exec wine "$exe_dir/Ferrule.exe") \
    >"$log.out" 2>"$log.err" &
  local pid=$! waited=0 code
  while kill -0 "$pid" 2>/dev/null && [ "$waited" -lt $((run_limit * 2)) ]; do
    sleep 0.5
    waited=$((waited + 1))
    if [ $((waited % 4)) -eq 0 ]; then xdotool key Return >/dev/null 2>&1 || true; fi
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "   Ferrule still running after ${run_limit} s: ended by force"
    wineserver -k >/dev/null 2>&1 || true
  fi
  code=0
  wait "$pid" || code=$?
  echo "   Ferrule exit code $code"
}

# Reports what one run loaded from the planted folder $1; fails on anything.
check_run() {
  local planted=$1 log=$2 label=$3
  local planted_win
  planted_win=$(windows_path "$planted")
  echo "== $label"
  local markers
  markers=$(ls "$work/markers")
  if [ -n "$markers" ]; then
    fail_run "planted DLLs ran their DllMain:"
    for m in "$work/markers"/*; do echo "     $(basename "$m" .loaded): $(cat "$m")"; done
  fi
  # Trace lines naming the planted folder, other than Ferrule.exe itself.
  grep -F "trace:loaddll" "$log.err" | grep -iF "${planted_win//\\/\\\\}\\\\" |
    grep -viF 'Ferrule.exe"' | grep -F ' Loaded ' >"$log.planted" || true
  if grep -q ': native$' "$log.planted"; then
    fail_run "planted files loaded:"
    grep ': native$' "$log.planted" | sed -e 's/^.*Loaded L"/     /' -e 's/" at .*$//' -e 's/\\\\/\\/g'
  fi
  if grep -q ': builtin$' "$log.planted"; then
    echo "   resolved to planted files, Wine's builtin loaded in their place (not counted):"
    grep ': builtin$' "$log.planted" | sed -e 's/^.*Loaded L"/     /' -e 's/" at .*$//' -e 's/\\\\/\\/g'
  fi
  if [ -z "$markers" ] && ! grep -q ': native$' "$log.planted"; then
    echo "   no planted DLL loaded"
  fi
  # The DLLs Ferrule's own process loaded, for the record.
  local pid
  pid=$(grep -F 'Ferrule.exe" at' "$log.err" | head -n1 | cut -d: -f1)
  if [ -n "$pid" ]; then
    echo "   Ferrule's process loaded:"
    grep "^$pid:.*trace:loaddll:.* Loaded " "$log.err" | sed -e 's/^.*Loaded L"//' -e 's/" at [0-9A-Fa-f]*: / /' |
      sed 's/\\\\/\\/g' | sort -u | sed 's/^/     /'
  fi
  rm -f "$work/markers"/*
}

fail_run() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# 1. Planted next to the executable.
mkdir -p "$work/app"
cp "$exe" "$work/app/"
cp "$planted_dir"/*.dll "$work/app/"
run_ferrule "$work/app" "$work/app" "$work/beside"
check_run "$work/app" "$work/beside" "planted beside Ferrule.exe ($(ls "$planted_dir" | wc -l) DLLs)"

# 2. Planted in the current folder only. Wine keeps the current folder in the search path even
# after SetDllDirectoryW(L"") (it treats an empty directory as none), so here Wine is stricter
# than Windows: only names no system folder holds can reach these files.
mkdir -p "$work/clean" "$work/cwd"
cp "$exe" "$work/clean/"
cp "$planted_dir"/*.dll "$work/cwd/"
wineserver -k >/dev/null 2>&1 || true
run_ferrule "$work/clean" "$work/cwd" "$work/current"
check_run "$work/cwd" "$work/current" "planted in the current folder"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "no planted DLL was loaded"
