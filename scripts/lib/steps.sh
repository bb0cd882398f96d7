# shellcheck shell=bash
# Sourced by the README's commands, which run with set -eE: a command that fails names itself
# and the step it was part of, so none of them ends with a bare exit code.
FERRULE_STEP=""
step() { FERRULE_STEP=$*; }
step_failed() {  # STATUS COMMAND
  local hint=""
  # A command substitution's failure is named once, by the command that holds it.
  [ "$BASH_SUBSHELL" -eq 0 ] || return 0
  [ "$1" -ne 126 ] || hint=" (126: a program could not be started)"
  echo "${0##*/}: ${FERRULE_STEP:+$FERRULE_STEP: }failed with exit code $1$hint: $2" >&2
}
trap 'step_failed $? "$BASH_COMMAND"' ERR
