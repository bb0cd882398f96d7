# shellcheck shell=bash
# Shared by the forced tests: they run only where the forced mode can be set up, and only where
# i386 code runs natively (else the suite ran emulated already). Otherwise: exit 77 with why.
skip_unless_forced_possible() {
  local already why
  already=$(i386_entries | paste -sd,)
  if [ -n "$already" ]; then
    echo "skipped: i386 programs run emulated here already ($already), the suite's included"
    exit 77
  fi
  if ! why=$("$FERRULE_SOURCE/scripts/i386-emulation" --check-forced 2>&1 >/dev/null); then
    echo "skipped: $(sed -n 's/^i386-emulation: //p' <<<"$why" | paste -sd' ')"
    exit 77
  fi
}

# What the machine's binfmt_misc holds: every entry's name and text.
binfmt_listing() {
  local file
  for file in "$FERRULE_BINFMT"/*; do
    [ -f "$file" ] || continue
    printf '%s: %s\n' "${file##*/}" "$(paste -sd' ' "$file")"
  done
}

# The i386 sleeper (sleeper.c), built into FILE.
build_sleeper() {  # FILE
  gcc -m32 -O2 -static -nostdlib -fno-stack-protector -fno-pic -no-pie -Wall -Wextra -Werror \
    -o "$1" "$FERRULE_SOURCE/tests/i386/sleeper.c"
}

# Whose code runs an i386 program started now: its Linux process's executable, read while it
# sleeps. Natively that is the program itself; emulated, the emulator.
i386_runner() {  # PROGRAM
  local pid exe
  "$1" &
  pid=$!
  sleep 0.5
  exe=$(readlink "/proc/$pid/exe" || echo "no process")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$exe"
}
