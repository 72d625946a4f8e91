#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   FUZZ_SECONDS  time per target (default 60)
set -eu
source "$(dirname "$0")/env.sh"
dir=$build/fuzz
[ -f $dir/CMakeCache.txt ] || CXX=clang++ CC=clang cmake -S . -B $dir -DSWK_BUILD=fuzz >/dev/null
cmake --build $dir -j "$(nproc)" -- --no-print-directory
for target in $dir/fuzz/*_fuzz; do
  corpus=$dir/corpus/$(basename "$target")
  mkdir -p "$corpus"
  echo "== $(basename "$target"), ${FUZZ_SECONDS:-60} s"
  "$target" -max_total_time="${FUZZ_SECONDS:-60}" -print_final_stats=1 "$corpus" 2>&1 | tail -4
done
