#!/usr/bin/env bash
# Builds the benchmarks natively with optimisation and runs them, then the Wine benchmark of
# the shipped program (tools/wine-bench.sh).
set -eu
source "$(dirname "$0")/env.sh"
if [ "$wine_arch" = i686 ]; then
  echo "The Wine benchmark times the shipped i686 program."
else
  echo "The Wine benchmark times the x86_64 build of the program in place of the shipped i686 one ($why_x86_64)."
fi
dir=$build/bench
[ -f $dir/CMakeCache.txt ] || cmake -S . -B $dir -DSWK_BUILD=bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build $dir -j "$(nproc)" -- --no-print-directory
for b in $dir/bench/*_bench; do "$b" "$@"; done
tools/wine-bench.sh
