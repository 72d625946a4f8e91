#!/usr/bin/env bash
# Stores a few mappings in the run prefix, so a picture shows every kind of row:
# Caps Lock to Left Ctrl, Escape and F1 swapped, Left Windows switched off.
set -eu
source "$(dirname "$0")/env.sh"
"$wine_loader" reg add 'HKLM\SYSTEM\CurrentControlSet\Control\Keyboard Layout' /v 'ScanCode Map' /t REG_BINARY \
  /d 0000000000000000050000001d003a003b00010001003b0000005be000000000 /f >/dev/null 2>&1 || true
