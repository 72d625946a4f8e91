#!/usr/bin/env bash
# Packs the release from the shipped 32-bit programs: OUT/Swivelkin-2.0.zip with the two
# programs, the user guide and the licence, the installer beside it, and SHA256SUMS for
# both. Then reads the zip back and fails unless it holds exactly those four files.
#   dist.sh [SHIP-TREE [OUT]]    defaults: build/ship and build/dist
# The zip's entries are dated from the commit (SOURCE_DATE_EPOCH, else the time of the last
# commit), so two builds of one commit give the same bytes.
# Exits with 77 (a skip for CTest) when zip is not installed.
set -eu
cd "$(dirname "$0")/.."
build=${SWK_BUILD_DIR:-build}
ship=$(realpath -m "${1:-$build/ship}")
out=$(realpath -m "${2:-$build/dist}")
zip_name=Swivelkin-2.0.zip
contents=(Swivelkin.exe Postlude.exe USER-GUIDE.txt LICENSE.txt)

command -v zip >/dev/null || { echo "zip is not installed (tools/install-deps.sh dist)"; exit 77; }
: "${SOURCE_DATE_EPOCH:=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$ship/app/Swivelkin.exe" "$ship/postlude/Postlude.exe" "$stage/"
# For Notepad: CR LF line ends, and a name it opens.
sed 's/$/\r/' docs/USER-GUIDE.txt >"$stage/USER-GUIDE.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"

# Nothing of this machine in the archive: the commit's time (read as UTC), fixed modes, no
# extra fields, no folder entries.
chmod 644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*

mkdir -p "$out"
rm -f "$out/$zip_name"
(cd "$stage" && TZ=UTC zip -q -X -D "$out/$zip_name" "${contents[@]}")
cp "$ship/installer/Swivelkin-2.0-setup.exe" "$out/"
(cd "$out" && sha256sum "$zip_name" Swivelkin-2.0-setup.exe >SHA256SUMS)

listed=$(cmake -E tar tf "$out/$zip_name" | sort)
expected=$(printf '%s\n' "${contents[@]}" | sort)
if [ "$listed" != "$expected" ]; then
  echo "$out/$zip_name holds:"; echo "$listed"; echo "but should hold exactly:"; echo "$expected"
  exit 1
fi
echo "$out/$zip_name: ${contents[*]}"
echo "$out/Swivelkin-2.0-setup.exe"
echo "$out/SHA256SUMS"
