#!/usr/bin/env bash
# Runs every test of every tree through CTest; the Wine tests under Xvfb.
set -eu
source "$(dirname "$0")/env.sh"
if [ "$wine_arch" = i686 ]; then
  ran="Wine tests ran for i686: the 32-bit test programs and the shipped programs."
else
  ran="Wine tests ran for x86_64 ($why_x86_64): the 64-bit build of the programs and tests; the i686 test programs were built, not run."
fi
echo "$ran"
# Whatever happens, no wineserver of the test prefix outlives the run.
prefix=$(realpath -m "$wintest_dir/wineprefix")
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true' EXIT
cd "$build"
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 120 -j "$(nproc)" "$@" || status=$?
echo "$ran"
exit $status
