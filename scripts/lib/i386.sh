# shellcheck shell=bash
# Whether i386 programs run natively here or under qemu-user's emulation, and the environment
# every Wine start gets for it. The state lives in the kernel, as a binfmt_misc entry that sends
# i386 ELF programs to an emulator, so every process that starts Wine (scripts/wine-run, the
# tests' shell library, ctest, bench/run) derives the same environment from it: i386_env.
# scripts/i386-emulation sets the entry up.

FERRULE_I386_DIR=${FERRULE_I386_DIR:-/opt/ferrule-i386}
FERRULE_BINFMT=${FERRULE_BINFMT:-/proc/sys/fs/binfmt_misc}
I386_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Under emulation every wait for something to happen (a window, a process, a prefix) may last
# this many times longer. Defined here alone; results and promises never scale.
I386_WAIT_FACTOR=4

# On a machine that needs emulation the entry lasts until reboot; a forced run has its own,
# of the same name, in a binfmt_misc instance that goes with the run.
I386_ENTRY=ferrule-i386
i386_qemu() { echo "$FERRULE_I386_DIR/bin/qemu-i386"; }
i386_trapno() { echo "$FERRULE_I386_DIR/lib/i386-linux-gnu/ferrule-trapno.so"; }

# The first 20 bytes of an i386 ELF executable and of an i386 shared object (ld.so, PIE).
I386_ELF_HEADERS=(7f454c4601010100000000000000000002000300 7f454c4601010100000000000000000003000300)

# Whether the binfmt_misc entry in FILE is enabled and would take an i386 ELF program.
i386_entry_takes_i386() {  # FILE
  local line enabled=0 offset=0 magic="" mask="" header i at ok
  while IFS= read -r line; do
    case $line in
      enabled) enabled=1 ;;
      "offset "*) offset=${line#offset } ;;
      "magic "*) magic=${line#magic } ;;
      "mask "*) mask=${line#mask } ;;
    esac
  done <"$1"
  [ "$enabled" = 1 ] && [ -n "$magic" ] && [[ $offset =~ ^[0-9]+$ ]] || return 1
  [ -n "$mask" ] || mask=${magic//?/f}
  for header in "${I386_ELF_HEADERS[@]}"; do
    ok=1
    for ((i = 0; i < ${#magic}; i += 2)); do
      at=$((offset * 2 + i))
      if ((at + 2 > ${#header})) ||
        (((16#${header:at:2} & 16#${mask:i:2}) != (16#${magic:i:2} & 16#${mask:i:2}))); then
        ok=0
        break
      fi
    done
    [ "$ok" = 1 ] && return 0
  done
  return 1
}

# "NAME INTERPRETER" of each enabled entry that takes i386 programs, one a line.
i386_entries() {
  local file
  [ -d "$FERRULE_BINFMT" ] || return 0
  for file in "$FERRULE_BINFMT"/*; do
    case ${file##*/} in register | status) continue ;; esac
    [ -f "$file" ] && i386_entry_takes_i386 "$file" || continue
    echo "${file##*/} $(sed -n 's/^interpreter //p' "$file")"
  done
}

# Exports what Wine's starts need: FERRULE_I386_MODE (native or emulated) and, under
# emulation, FERRULE_WAIT_FACTOR and qemu's QEMU_SET_ENV with the trap-number library. qemu
# hands that to the emulated program alone: an LD_PRELOAD seen by every program would stop
# AddressSanitizer's, which must come first.
i386_env() {
  if [ -n "$(i386_entries)" ]; then
    export FERRULE_I386_MODE=emulated FERRULE_WAIT_FACTOR=$I386_WAIT_FACTOR
    if [ -f "$(i386_trapno)" ]; then
      # $LIB is the loader's: the 64-bit programs Wine starts get the empty 64-bit twin.
      export QEMU_SET_ENV="LD_PRELOAD=$FERRULE_I386_DIR/\$LIB/ferrule-trapno.so"
    fi
  else
    export FERRULE_I386_MODE=native
    unset FERRULE_WAIT_FACTOR QEMU_SET_ENV
  fi
}

# For scripts/run, scripts/test and bench/run, before they use Wine: sets up what this machine
# needs (scripts/i386-emulation) or, with FERRULE_I386=emulated, runs the calling script again
# under the forced mode; then exports the environment. Call it as: i386_enter "$0" "$@"
i386_enter() {
  case ${FERRULE_I386:-} in
    "" | auto) "$I386_SCRIPTS/i386-emulation" || return ;;
    emulated)
      # Inside the forced run already, the calling script is its command or a child of it.
      [ -n "${FERRULE_I386_FORCED:-}" ] || exec "$I386_SCRIPTS/i386-emulation" --forced "$@"
      ;;
    *)
      echo "FERRULE_I386 is '$FERRULE_I386': leave it unset, or set it to 'emulated'" >&2
      return 2
      ;;
  esac
  i386_env
}

# One line on how i386 code runs, for summaries.
i386_describe() {
  local entries qemu
  entries=$(i386_entries)
  if [ -z "$entries" ]; then
    echo "i386 code ran natively"
    return
  fi
  qemu=$(awk 'NR == 1 { print $2 }' <<<"$entries")
  local how="binfmt_misc entry ${entries%% *}"
  [ -z "${FERRULE_I386_FORCED:-}" ] || how="$how, forced for this run only"
  echo "i386 code ran emulated, under $("$qemu" --version 2>/dev/null | head -n 1 ||
    echo "$qemu") ($how; waits x$I386_WAIT_FACTOR)"
}

# The forced part's result from its ctest log (-V): FAILED if any test failed or none ran,
# "skipped (WHY)" only if every one skipped, and for one reason; else passed.
i386_forced_verdict() {  # LOG
  local total skipped passed reasons
  total=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: ' "$1" || true)
  passed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed ' "$1" || true)
  skipped=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*\*Skipped ' "$1" || true)
  reasons=$(sed -n 's/^[0-9]*: skipped: //p' "$1" | sort -u)
  if [ "$total" -eq 0 ] || [ $((passed + skipped)) -ne "$total" ]; then
    echo FAILED
  elif [ "$skipped" -eq 0 ]; then
    echo passed
  elif [ "$skipped" -eq "$total" ] && [ "$(wc -l <<<"$reasons")" -eq 1 ] && [ -n "$reasons" ]; then
    echo "skipped ($reasons)"
  else
    echo "FAILED ($skipped of $total skipped${reasons:+: ${reasons//$'\n'/; }})"
  fi
}

# A wait of N (any unit) as long as it may last here: N natively, N times the factor emulated.
scaled_wait() { echo $(($1 * ${FERRULE_WAIT_FACTOR:-1})); }
