#!/usr/bin/env bash
# Runs every test of every tree through CTest; the Wine tests under Xvfb.
set -eu
source "$(dirname "$0")/env.sh"
# Whatever happens, no wineserver of the test prefix outlives the run.
trap 'WINEPREFIX=$PWD/$wintest_dir/wineprefix wineserver -k 2>/dev/null || true' EXIT
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 120 -j "$(nproc)" "$@"
