#!/usr/bin/env bash
# Installs with apt-get whatever the build and the tests need and the machine lacks.
#   install-deps.sh            what build, test and run need
#   install-deps.sh fuzz|bench|dist what those need besides
set -eu
packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 cmake make g++ googletest
          wine wine64 wine32:i386 xvfb xauth fonts-wine imagemagick xdotool nsis locales)
case "${1:-}" in
  fuzz) packages=(clang libclang-rt-14-dev) ;;
  bench) packages=(g++ cmake libbenchmark-dev) ;;
  dist) packages=(zip) ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
