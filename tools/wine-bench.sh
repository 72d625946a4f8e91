#!/usr/bin/env bash
# Times the shipped Swivelkin.exe (whatever build/ship holds) under Wine against a minimal
# dialog program: start to window with map files of 0 to 1,000,000 records, Load and Save.
#   BENCH_RUNS   runs per case (default 5)
#   BENCH_LIMIT  seconds after which one run of a case is stopped (default 60)
#   BENCH_PROGRAM  another Swivelkin.exe to time, for instance an older build
set -eu
source "$(dirname "$0")/env.sh"
toolchain=$PWD/cmake/mingw.toolchain.cmake
dir=$build/winbench
ship=${BENCH_PROGRAM:-$build/ship/app/Swivelkin.exe}
[ -f "$ship" ] || { echo "No $ship: run make build first." >&2; exit 1; }

[ -f $dir/CMakeCache.txt ] || cmake -S bench/wine -B $dir -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DSWK_MINGW_ARCH=i686 -DSWK_MINGW_THREADS=win32 -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build $dir -j "$(nproc)" -- --no-print-directory >/dev/null

# The programs run from a folder of their own, where Swivelkin keeps its settings file and
# the map files are written.
work=$dir/run
rm -rf $work
mkdir -p $work
cp "$ship" $work/Swivelkin.exe
cp $dir/MinimalDialog.exe $dir/BenchDriver.exe $work/

prefix=$PWD/$dir/wineprefix
trap "$PWD/tools/wine-prefix.sh cleanup $prefix" EXIT
tools/wine-prefix.sh setup $prefix
export WINEPREFIX=$(realpath $prefix) WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
echo "Wine benchmark of $ship ($(stat -c %s "$ship") bytes), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
cd $work
# A program started straight from Wine comes first: in a new prefix, windows of programs
# that the driver starts never become visible otherwise. It stays open, untouched, until the
# prefix's processes end, before the X server does.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$0" MinimalDialog.exe &
  for i in $(seq 100); do xdotool search --name "Minimal dialog" >/dev/null && break; sleep 0.3; done
  "$0" BenchDriver.exe Swivelkin.exe MinimalDialog.exe "$1" "$2"
  status=$?; wineserver -k; exit $status' "$WINE_LOADER" "${BENCH_RUNS:-5}" "${BENCH_LIMIT:-60}" 2>&1 |
  grep -v "FS volume label"
