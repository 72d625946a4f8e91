#!/usr/bin/env bash
# Builds the benchmarks natively with optimisation and runs them, then the Wine benchmark of
# the shipped program (tools/wine-bench.sh).
set -eu
source "$(dirname "$0")/env.sh"
dir=$build/bench
[ -f $dir/CMakeCache.txt ] || cmake -S . -B $dir -DSWK_BUILD=bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build $dir -j "$(nproc)" -- --no-print-directory
for b in $dir/bench/*_bench; do "$b" "$@"; done
tools/wine-bench.sh
