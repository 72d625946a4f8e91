#!/usr/bin/env bash
# Starts Swivelkin under Wine in the project's own prefix (build/run-prefix-ARCH), set up as
# a real Windows installation is. With a display it runs there; without one (or with
# --screenshot) it runs under Xvfb, saves a screenshot of the window and ends.
#   run.sh [--screenshot] [--seed-mappings] [-- ARGS...]
set -eu
source "$(dirname "$0")/env.sh"
screenshot=no
seed=no
while [ $# -gt 0 ]; do
  case $1 in
    --screenshot) screenshot=yes ;;
    --seed-mappings) seed=yes ;;
    --) shift; break ;;
    *) break ;;
  esac
  shift
done
[ -n "${DISPLAY:-}" ] || screenshot=yes

# The shipped 32-bit program where Wine can run it; otherwise the same sources built for x86_64.
if [ "$wine_arch" = i686 ]; then exe=$PWD/$build/ship/app/Swivelkin.exe; else exe=$PWD/$wintest_dir/app/Swivelkin.exe; fi
export WINEPREFIX=$PWD/$build/run-prefix-$wine_arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ "$screenshot" = no ]; then
  [ -d "$WINEPREFIX/drive_c" ] || tools/wine-prefix.sh setup "$WINEPREFIX"
  [ "$seed" = no ] || tools/seed-mappings.sh
  status=0
  "$wine_loader" "$exe" "$@" || status=$?
  wineserver -k 2>/dev/null || true  # the prefix set-up leaves a persistent server behind
  exit $status
fi

out=$PWD/$build/screenshot.png
xvfb-run -a -s "-screen 0 1024x768x24" tools/screenshot.sh "$exe" "$out" "$seed" "$@"
echo "Screenshot of the window: $out"
