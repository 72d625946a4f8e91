#!/usr/bin/env bash
# Builds the shipped programs and the installer a second time, from a copy of the sources in
# another folder, packs both builds with dist.sh, and fails unless the programs, the zip,
# the installer and SHA256SUMS are the same bytes: a release anyone can rebuild and check.
#   rebuild-check.sh SHIP-TREE
# Exits with 77 (a skip for CTest) when zip is not installed.
set -eu
source "$(dirname "$0")/env.sh"
first=$(realpath "$1")
command -v zip >/dev/null || { echo "zip is not installed (tools/install-deps.sh dist)"; exit 77; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

again=$(mktemp -d /tmp/swivelkin-rebuild.XXXXXX)
trap 'rm -rf "$again"' EXIT
# The sources as they are now, without any build tree or the repository.
mkdir "$again/sources"
tar -C . --exclude=./build --exclude="./$build" --exclude=./.git -cf - . | tar -C "$again/sources" -xf -
cmake -S "$again/sources" -B "$again/ship" -G "Unix Makefiles" "${ship_config[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$again/sources/cmake/mingw.toolchain.cmake" >"$again/configure.log" 2>&1 \
  || { cat "$again/configure.log"; exit 1; }
cmake --build "$again/ship" --target Swivelkin Postlude installer -j "$(nproc)" >"$again/build.log" 2>&1 \
  || { cat "$again/build.log"; exit 1; }

tools/dist.sh "$first" "$again/first" >/dev/null
"$again/sources/tools/dist.sh" "$again/ship" "$again/second" >/dev/null
status=0
for file in app/Swivelkin.exe postlude/Postlude.exe; do
  cmp "$first/$file" "$again/ship/$file" || status=1
done
for file in Swivelkin-2.0.zip Swivelkin-2.0-setup.exe SHA256SUMS; do
  cmp "$again/first/$file" "$again/second/$file" || status=1
done
[ $status -eq 0 ] && echo "built twice, the same bytes:" && cat "$again/first/SHA256SUMS"
exit $status
