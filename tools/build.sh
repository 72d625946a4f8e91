#!/usr/bin/env bash
# Configures and builds the three trees: native (platform-free code with sanitizers), ship
# (the 32-bit programs) and wintest (test programs for Wine).
set -eu
source "$(dirname "$0")/env.sh"
toolchain=$PWD/cmake/mingw.toolchain.cmake

configure() {
  local dir=$1; shift
  [ -f "$dir/Makefile" ] || cmake -S . -B "$dir" -G "Unix Makefiles" "$@" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; exit 1; }
}
mkdir -p $build
configure $build/native -DSWK_BUILD=native
configure $build/ship "${ship_config[@]}" -DCMAKE_TOOLCHAIN_FILE="$toolchain"
configure "$wintest_dir" -DSWK_BUILD=wintest \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DSWK_MINGW_ARCH="$wine_arch" -DSWK_MINGW_THREADS=posix \
  -DSWK_WINE_LOADER="$wine_loader"

for dir in $build/native $build/ship "$wintest_dir"; do
  cmake --build "$dir" -j "$(nproc)" -- --no-print-directory
done

# One CTest run over all trees, with one summary.
printf 'subdirs("native")\nsubdirs("ship")\nsubdirs("%s")\n' "${wintest_dir#$build/}" >$build/CTestTestfile.cmake
