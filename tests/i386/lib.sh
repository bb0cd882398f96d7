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
