# Shared settings of the build and run scripts; sourced, not run.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
export LC_ALL=C.UTF-8
# Wine runs the test programs for the architecture this machine can run (see wine-arch.sh).
wine_arch=$(tools/wine-arch.sh)
if [ "$wine_arch" = i686 ]; then
  wine_loader=/usr/lib/wine/wine
  export WINEARCH=win32
else
  wine_loader=/usr/lib/wine/wine64
  export WINEARCH=win64
fi
export WINE_LOADER=$wine_loader
# Why the x86_64 programs run in place of the i686 ones, where they do.
why_x86_64="32-bit Wine cannot run on this machine"
[ -z "${SWK_WINE_ARCH:-}" ] || why_x86_64="SWK_WINE_ARCH=$SWK_WINE_ARCH"
# SWK_BUILD_DIR lets two people build side by side in one work tree.
build=${SWK_BUILD_DIR:-build}
wintest_dir=$build/wintest-$wine_arch
# How the ship tree is configured (tools/build.sh, and the second build of tools/rebuild-check.sh).
ship_config=(-DSWK_BUILD=ship -DCMAKE_BUILD_TYPE=MinSizeRel -DSWK_MINGW_ARCH=i686 -DSWK_MINGW_THREADS=win32)
