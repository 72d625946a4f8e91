#!/usr/bin/env bash
# Times the shipped Swivelkin.exe (whatever build/ship holds) under Wine against a minimal
# dialog program: start to window with map files of 0 to 1,000,000 records, Load and Save.
# Where 32-bit Wine cannot run, it times the x86_64 build of the same sources instead,
# optimised as the shipped program is (with the C runtime, which the i486 runtime of the
# shipped build cannot replace on x86_64), and says so in its first line. It fails when it
# measured nothing.
#   BENCH_RUNS   runs per case (default 5)
#   BENCH_LIMIT  seconds after which one run of a case is stopped (default 60)
#   BENCH_PROGRAM  another Swivelkin.exe to time, for instance an older build
set -euo pipefail
source "$(dirname "$0")/env.sh"
toolchain=$PWD/cmake/mingw.toolchain.cmake
if [ "$wine_arch" = i686 ]; then
  dir=$build/winbench
  ship=${BENCH_PROGRAM:-$build/ship/app/Swivelkin.exe}
  [ -f "$ship" ] || { echo "No $ship: run make build first." >&2; exit 1; }
  kind="the shipped i686 program"
else
  dir=$build/winbench-$wine_arch
  programs=$build/winbench-programs-$wine_arch
  [ -f $programs/CMakeCache.txt ] || cmake -S . -B $programs -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DSWK_BUILD=winbench -DCMAKE_BUILD_TYPE=MinSizeRel -DSWK_MINGW_ARCH="$wine_arch" -DSWK_MINGW_THREADS=win32 \
    >/dev/null
  cmake --build $programs --target Swivelkin -j "$(nproc)" -- --no-print-directory >/dev/null
  ship=${BENCH_PROGRAM:-$programs/app/Swivelkin.exe}
  kind="the $wine_arch build of the program ($why_x86_64), optimised (-Os) as the shipped i686 one is but with the C runtime"
fi

[ -f $dir/CMakeCache.txt ] || cmake -S bench/wine -B $dir -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DSWK_MINGW_ARCH="$wine_arch" -DSWK_MINGW_THREADS=win32 -DCMAKE_BUILD_TYPE=Release >/dev/null
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
echo "Wine benchmark of $kind: $ship ($(stat -c %s "$ship") bytes), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
cd $work
# A program started straight from Wine comes first: in a new prefix, windows of programs
# that the driver starts never become visible otherwise. It stays open, untouched, until the
# prefix's processes end, before the X server does.
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$0" MinimalDialog.exe &
  for i in $(seq 100); do xdotool search --name "Minimal dialog" >/dev/null && break; sleep 0.3; done
  "$0" BenchDriver.exe Swivelkin.exe MinimalDialog.exe "$1" "$2"
  status=$?; wineserver -k; exit $status' "$WINE_LOADER" "${BENCH_RUNS:-5}" "${BENCH_LIMIT:-60}" 2>&1 |
  { grep -v "FS volume label" || true; } | tee output.txt || status=$?
# A figure for the minimal program and for Swivelkin's start, or the benchmark failed.
if ! grep -Eq '^  minimal dialog program +[0-9.]+ s' output.txt ||
   ! grep -Eq '^  Swivelkin, no file +[0-9.]+ s' output.txt; then
  echo "The Wine benchmark measured nothing." >&2
  exit 1
fi
exit $status
