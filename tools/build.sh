#!/usr/bin/env bash
# Configures and builds the trees: native (platform-free code with sanitizers), ship (the
# 32-bit programs) and the Wine test programs. The 32-bit test programs (wintest-i686) are
# built on every machine, so that a fault only 32-bit code has stops the build everywhere;
# where 32-bit Wine cannot run, the x86_64 test programs (wintest-x86_64) are built too, and
# those are the ones that run.
set -eu
source "$(dirname "$0")/env.sh"
toolchain=$PWD/cmake/mingw.toolchain.cmake

# Configures a tree when it is new, or again when its settings (tools/env.sh) have changed
# since it was last configured.
configure() {
  local dir=$1; shift
  local settings="$*"
  [ -f "$dir/Makefile" ] && [ "$(cat "$dir.configure.args" 2>/dev/null)" = "$settings" ] && return
  cmake -S . -B "$dir" -G "Unix Makefiles" "$@" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; exit 1; }
  printf '%s' "$settings" >"$dir.configure.args"
}
mkdir -p $build
configure $build/native -DSWK_BUILD=native
configure $build/ship "${ship_config[@]}" -DCMAKE_TOOLCHAIN_FILE="$toolchain"
trees=($build/native $build/ship $build/wintest-i686)
wintest() {
  configure "$build/wintest-$1" -DSWK_BUILD=wintest \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DSWK_MINGW_ARCH="$1" -DSWK_MINGW_THREADS=posix -DSWK_WINE_LOADER="$2"
}
wintest i686 /usr/lib/wine/wine
if [ "$wine_arch" != i686 ]; then
  wintest "$wine_arch" "$wine_loader"
  trees+=("$wintest_dir")
fi

for dir in "${trees[@]}"; do
  cmake --build "$dir" -j "$(nproc)" -- --no-print-directory
done

# One CTest run over the trees that can run here, with one summary.
printf 'subdirs("native")\nsubdirs("ship")\nsubdirs("%s")\n' "${wintest_dir#$build/}" >$build/CTestTestfile.cmake
