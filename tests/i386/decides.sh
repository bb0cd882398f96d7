#!/usr/bin/env bash
# How scripts/i386-emulation decides between native and emulated, and what it changes, against a
# stand-in binfmt_misc folder (files in place of entries: what the script writes to an entry or
# to "register" stays there to be read), a stand-in i386 loader that runs only where the machine
# or a registered entry lets it, and a stand-in emulator folder. Nothing real is touched.
set -euo pipefail
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
if [ "$(id -u)" -ne 0 ] && ! sudo -n true 2>/dev/null; then
  echo "skipped: the script asks for root before it writes, and this user has none"
  exit 77
fi
work=$(mktemp -d)
# What the script wrote through sudo belongs to root.
trap 'rm -rf "$work" 2>/dev/null || sudo -n rm -rf "$work"' EXIT
failures=0

I386=7f454c4601010100000000000000000002000300
# The same, with the OS ABI byte (masked out) set: only a mask read right takes it.
I386_GNU=7f454c4601010103000000000000000002000300
I386_MASK=fffffffffffefe00fffffffffffffffffeffffff
ARM=7f454c4601010100000000000000000002002800

# An entry as the kernel lists it.
entry() {  # NAME enabled|disabled INTERPRETER MAGIC MASK
  printf '%s\ninterpreter %s\nflags: F\noffset 0\nmagic %s\nmask %s\n' "$2" "$3" "$4" "$5" \
    >"$binfmt/$1"
}

# Runs one case. MACHINE is "native" (the loader runs) or "none" (it runs only once the
# script's own entry is registered). SETUP makes the entries. Checks the exit code, a line of the
# output, what was registered and what each named entry file holds afterwards.
case_() {  # NAME MACHINE SETUP EXIT OUTPUT-REGEX REGISTERED [ENTRY=FIRST-LINE]...
  local name=$1 machine=$2 setup=$3 want_rc=$4 want_out=$5 want_register=$6 rc=0 check got
  shift 6
  local dir=$work/$name
  binfmt=$dir/binfmt
  emu=$dir/emu
  mkdir -p "$binfmt" "$emu/bin"
  : >"$binfmt/register"
  printf '#!/bin/sh\necho "qemu-i386 version 10.0.2 (stand-in)"\n' >"$emu/bin/qemu-i386"
  chmod 755 "$emu/bin/qemu-i386"
  printf '#!/bin/sh\n[ "%s" = native ] || grep -q "^:ferrule-i386:" "%s"\n' "$machine" \
    "$binfmt/register" >"$dir/loader"
  chmod 755 "$dir/loader"
  $setup
  FERRULE_BINFMT=$binfmt FERRULE_I386_DIR=$emu FERRULE_I386_LOADER=$dir/loader \
    "$source_dir/scripts/i386-emulation" >"$dir/out" 2>&1 || rc=$?
  check "$name: exit code" "$rc" "$want_rc"
  check "$name: output" "$(grep -cE "$want_out" "$dir/out")" 1
  got=$(sed -E 's/:M::.*:(.*):F$/ -> \1/' "$binfmt/register")
  check "$name: registered" "$got" "$want_register"
  for check in "$@"; do
    check "$name: entry ${check%%=*}" "$(head -n 1 "$binfmt/${check%%=*}")" "${check#*=}"
  done
}

check() {  # WHAT ACTUAL EXPECTED
  if [ "$2" == "$3" ]; then
    echo "ok   $1: '$2'"
  else
    echo "FAIL $1: actual '$2', expected '$3' (output: $(tr '\n' ' ' <"$dir/out"))"
    failures=$((failures + 1))
  fi
}

nothing() { :; }
arm_only() { entry qemu-arm enabled /usr/bin/qemu-arm "$ARM" "$I386_MASK"; }
i386_disabled() { entry qemu-i386 disabled /usr/bin/qemu-i386-static "$I386" "$I386_MASK"; }
foreign() { entry qemu-i386 enabled /usr/bin/qemu-i386-static "$I386_GNU" "$I386_MASK"; }
# Magic and mask as an extension-less entry may give them: no mask at all.
foreign_unmasked() { entry i386 enabled /usr/local/bin/box86 "$I386" ""; }
ours() { entry ferrule-i386 enabled "$emu/bin/qemu-i386" "$I386" "$I386_MASK"; }
ours_then_foreign() {
  ours
  foreign
}

case_ native native nothing 0 'runs natively' ""
case_ arm-entry native arm_only 0 'runs natively' "" "qemu-arm=enabled"
case_ disabled-i386-entry native i386_disabled 0 'runs natively' "" "qemu-i386=disabled"
case_ kernel-runs-none none nothing 0 'runs no 32-bit x86 code.*will run' \
  ":ferrule-i386 -> $work/kernel-runs-none/emu/bin/qemu-i386"
case_ other-emulator native foreign 0 'qemu-i386 sends i386 programs to /usr/bin/qemu-i386-static' \
  ":ferrule-i386 -> $work/other-emulator/emu/bin/qemu-i386" "qemu-i386=0"
case_ other-emulator-no-mask none foreign_unmasked 0 'entry i386 sends i386 programs' \
  ":ferrule-i386 -> $work/other-emulator-no-mask/emu/bin/qemu-i386" "i386=0"
case_ earlier-run none ours 0 "run under qemu-user's i386 emulation here \\(qemu-i386 version 10" "" \
  "ferrule-i386=enabled"
# binfmt_misc tries the newest entry first: one registered after ours would take Wine from it.
case_ foreign-after-ours native ours_then_foreign 0 "run under qemu-user's i386 emulation here" "" \
  "ferrule-i386=enabled" "qemu-i386=0"

# No loader at all: Wine's 32-bit part is missing, and emulation would not help.
dir=$work/no-loader
mkdir -p "$dir/binfmt"
rc=0
FERRULE_BINFMT=$dir/binfmt FERRULE_I386_DIR=$dir/emu FERRULE_I386_LOADER=$dir/missing \
  "$source_dir/scripts/i386-emulation" >"$dir/out" 2>&1 || rc=$?
check "no loader: exit code" "$rc" 1
check "no loader: output" "$(grep -c 'install-deps' "$dir/out")" 1

# A step that fails halfway leaves no temporary folder behind: the emulator's package that will
# not unpack, the trap-number library that will not build.
for step in fetch build; do
  dir=$work/fails-in-$step
  mkdir -p "$dir/binfmt" "$dir/emu" "$dir/tmp" "$dir/bin"
  : >"$dir/binfmt/register"
  printf '#!/bin/sh\ngrep -q "^:ferrule-i386:" "%s"\n' "$dir/binfmt/register" >"$dir/loader"
  printf '#!/bin/sh\ncase "$*" in *download*) echo garbage >qemu-user_1.deb ;; esac\n' >"$dir/bin/apt-get"
  printf '#!/bin/sh\necho "qemu-user | 1:10.0.2+ds-1 | stand-in"\n' >"$dir/bin/apt-cache"
  if [ "$step" = build ]; then
    mkdir -p "$dir/emu/bin"
    printf '#!/bin/sh\necho "qemu-i386 version 10.0.2 (stand-in)"\n' >"$dir/emu/bin/qemu-i386"
    printf '#!/bin/sh\necho "stand-in compiler: error" >&2\nexit 1\n' >"$dir/bin/gcc"
  fi
  chmod 755 "$dir/loader" "$dir/bin"/* "$dir/emu/bin"/* 2>/dev/null || true
  rc=0
  PATH=$dir/bin:$PATH TMPDIR=$dir/tmp FERRULE_I386_MIRROR=http://stand-in.invalid/debian/ \
    FERRULE_BINFMT=$dir/binfmt FERRULE_I386_DIR=$dir/emu FERRULE_I386_LOADER=$dir/loader \
    "$source_dir/scripts/i386-emulation" >"$dir/out" 2>&1 || rc=$?
  check "fails in $step: exit code" "$([ "$rc" -ne 0 ] && echo non-zero || echo 0)" non-zero
  check "fails in $step: temporary folders left" "$(ls "$dir/tmp" | paste -sd' ')" ""
  check "fails in $step: registered" "$(cat "$dir/binfmt/register")" ""
done

# The forced part's verdict from ctest's log: a failure is never a skip, and a skip is one only
# when every test skipped for one reason.
source "$source_dir/scripts/lib/i386.sh"
dir=$work/verdict
mkdir -p "$dir"
line() {  # NUMBER NAME RESULT
  case $3 in
    Passed) printf '%s/2 Test #%s: %s ...   Passed    1.00 sec\n' "$1" "$1" "$2" ;;
    # ctest repeats the tests that did not pass at its end.
    *) printf '%s/2 Test #%s: %s ...***%s   1.00 sec\n\t  %s - %s (%s)\n' "$1" "$1" "$2" "$3" "$1" "$2" "$3" ;;
  esac
}
while read -r want first second why1 why2; do
  {
    [ "$why1" = - ] || echo "1: skipped: ${why1//_/ }"
    [ "$first" = - ] || line 1 i386_forced_run "$first"
    [ "$second" = - ] || { [ "$why2" = - ] || echo "2: skipped: ${why2//_/ }"; line 2 i386_forced_killed "$second"; }
  } >"$dir/out"
  check "verdict: $first $second ($why1 / $why2)" "$(i386_forced_verdict "$dir/out")" "${want//_/ }"
done <<'TABLE'
passed                          Passed  Passed  -        -
FAILED                          Failed  Skipped -        emulated_here
FAILED                          Timeout Passed  -        -
skipped_(no_root)               Skipped Skipped no_root  no_root
FAILED_(2_of_2_skipped:_a;_b)   Skipped Skipped a        b
FAILED_(1_of_2_skipped:_no_root) Passed Skipped -        no_root
FAILED                          -       -       -        -
TABLE

[ "$failures" -eq 0 ] || { echo "FAIL i386_decides: $failures check(s) failed"; exit 1; }
echo "PASS i386_decides"
