#!/usr/bin/env bash
# The failures people meet on the way to System Restore are reported in words they can act on,
# whether the bind or the call fails and whether or not WMI gave words of its own; any other
# number keeps what came with it. Each run: the report box's text, then exit code 3.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin
title="Reruze Dazova Derivod Irari"

access="Access denied. Creating a restore point needs an administrator's rights: log on as an administrator and run Ferrule again."
missing="System Restore is not installed or not available on this computer."
broken="Windows Management Instrumentation (WMI), through which Ferrule reaches System Restore, is not working on this computer."
stopped="The Windows Management Instrumentation (WMI) service is not running or is disabled."

# Each case: the stand-in's FERRULE_STANDIN_FAIL, the report's number line, its description.
cases=(
  "bind:80041003|-2147217405 (80041003)|$access"
  "call:80070005:Access denied |-2147024891 (80070005)|$access"
  "call:80041013|-2147217389 (80041013)|$missing"
  "bind:8004100E|-2147217394 (8004100E)|$broken"
  "call:80041014:Initialization failure|-2147217388 (80041014)|$broken"
  "bind:800706BA|-2147023174 (800706BA)|$stopped"
  "call:80070422|-2147023838 (80070422)|$stopped"
  # Not ours: the service's words stand; without any, Wine's wmiutils.dll has no table either.
  "call:8004103A:Invalid object path |-2147217350 (8004103A)|Invalid object path "
  "call:80041050|-2147217328 (80041050)|Automation error"
)
for case in "${cases[@]}"; do
  IFS='|' read -r fail number words <<<"$case"
  name=$(cut -d: -f1,2 <<<"$fail" | tr : -)
  start_ferrule FERRULE_STANDIN_LOG="$E2E_DIR/$name.log" FERRULE_STANDIN_FAIL="$fail"
  drive "$name" wait-window "Creating Restore Point" 20000 wait-box "$title" 20000 press-box-ok \
    wait-gone 5000
  wait_ferrule 20
  check_eq "$fail: report" "$(get box_text)" "Run-time error '$number':\\r\\r$words"
  check_eq "$fail: exit code" "$FERRULE_RC" 3
done
finish
