#!/usr/bin/env bash
# Ferrule follows the user's theme, as XP's own utilities do: with visual styles on (the prefix's
# default, as XP's), the theme draws the Close button and the refusal box's OK; with them off
# ("Windows Classic style"), the Close button is the classic one Ferrule always had
# (classic-close.png). Runs refused, in one prefix copy, with the theme switched between runs.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
use_prefix
use_standin
title="Reruze Dazova Derivod Irari"
reference=$FERRULE_SOURCE/tests/e2e/classic-close.png

theme_active() {  # 1|0
  wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive \
    /t REG_SZ /d "$1" /f >"$E2E_DIR/reg.log" 2>&1 || die "wine reg add failed: $(tail -n 3 "$E2E_DIR/reg.log")"
}

# One refused run, saving the box's OK, the window's Close and the whole window.
shoot() {  # NAME
  start_ferrule FERRULE_STANDIN_ANSWER=1058
  drive "$1" wait-window "Creating Restore Point" 20000 wait-box "$title" 20000 \
    screenshot-button box-ok "$(win_path "$E2E_DIR/$1-ok.bmp")" press-box-ok wait-status 10000 \
    screenshot-button close "$(win_path "$E2E_DIR/$1-close.bmp")" \
    screenshot "$(win_path "$E2E_DIR/$1.bmp")" keys alt+l wait-gone 3000
  wait_ferrule 20
  check_eq "$1: exit code" "$FERRULE_RC" 1
  local shot
  for shot in ok close ""; do
    [ -f "$E2E_DIR/$1${shot:+-$shot}.bmp" ] &&
      convert "$E2E_DIR/$1${shot:+-$shot}.bmp" "$E2E_DIR/$1${shot:+-$shot}.png"
  done
}

# How many pixels of two same-sized pictures differ; "size" if their sizes differ.
differing() {  # A B
  local a b
  a=$(identify -format '%wx%h' "$1" 2>/dev/null || echo none)
  b=$(identify -format '%wx%h' "$2" 2>/dev/null || echo none)
  [ "$a" = "$b" ] && [ "$a" != none ] || { echo "size $a against $b"; return; }
  compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1 || true
}

theme_active 1
shoot themed
theme_active 0
shoot classic

check_num "Close: pixels the theme changes" "$(differing "$E2E_DIR/themed-close.png" \
  "$E2E_DIR/classic-close.png")" -gt 50
check_num "box's OK: pixels the theme changes" "$(differing "$E2E_DIR/themed-ok.png" \
  "$E2E_DIR/classic-ok.png")" -gt 50
check_eq "Close, classic, against the classic one ($(basename "$reference"))" \
  "$(differing "$E2E_DIR/classic-close.png" "$reference")" 0

mkdir -p "$FERRULE_BUILD/screenshots"
cp "$E2E_DIR/themed.png" "$FERRULE_BUILD/screenshots/ferrule-themed.png" 2>/dev/null || true
note "screenshots" "$E2E_DIR/themed.png $E2E_DIR/classic.png"
finish
