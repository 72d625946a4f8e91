#!/usr/bin/env bash
# Packs the release from the shipped 32-bit programs: OUT/Swivelkin-2.0.zip with the two
# programs, the user guide and the licence, and the installer beside it. Then reads the
# zip back and fails unless it holds exactly those four files.
#   dist.sh [SHIP-TREE [OUT]]    defaults: build/ship and build/dist
# Exits with 77 (a skip for CTest) when zip is not installed.
set -eu
cd "$(dirname "$0")/.."
build=${SWK_BUILD_DIR:-build}
ship=$(realpath -m "${1:-$build/ship}")
out=$(realpath -m "${2:-$build/dist}")
zip_name=Swivelkin-2.0.zip
contents=(Swivelkin.exe Postlude.exe USER-GUIDE.txt LICENSE.txt)

command -v zip >/dev/null || { echo "zip is not installed (tools/install-deps.sh dist)"; exit 77; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$ship/app/Swivelkin.exe" "$ship/postlude/Postlude.exe" "$stage/"
# For Notepad: CR LF line ends, and a name it opens.
sed 's/$/\r/' docs/USER-GUIDE.txt >"$stage/USER-GUIDE.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

mkdir -p "$out"
rm -f "$out/$zip_name"
(cd "$stage" && zip -q -X -D "$out/$zip_name" "${contents[@]}")
cp "$ship/installer/Swivelkin-2.0-setup.exe" "$out/"

listed=$(cmake -E tar tf "$out/$zip_name" | sort)
expected=$(printf '%s\n' "${contents[@]}" | sort)
if [ "$listed" != "$expected" ]; then
  echo "$out/$zip_name holds:"; echo "$listed"; echo "but should hold exactly:"; echo "$expected"
  exit 1
fi
echo "$out/$zip_name: ${contents[*]}"
echo "$out/Swivelkin-2.0-setup.exe"
