#!/usr/bin/env bash
# Writes a copy of a program whose .rsrc section is out of the file alignment, as ld makes
# it from two compiled resource files: its raw size 0x178 bytes short of a whole unit
# (size), or its raw data 8 bytes after a unit's start (offset).
#   unalign-section.sh PROGRAM COPY size|offset
set -eu
in=$1 out=$2 field=$3
cp "$in" "$out"
number() { od -An -t "u$2" -j "$1" -N "$2" "$out" | tr -d ' '; }
put() {  # writes the 32-bit little-endian VALUE at OFFSET
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($2 & 255)) $(($2 >> 8 & 255)) $(($2 >> 16 & 255)) $(($2 >> 24 & 255)))" |
    dd of="$out" bs=1 seek="$1" conv=notrunc 2>/dev/null
}
pe=$(number 60 4)
sections=$(number $((pe + 6)) 2)
table=$((pe + 24 + $(number $((pe + 20)) 2)))
for ((i = 0; i < sections; i++)); do
  entry=$((table + 40 * i))
  [ "$(dd if="$out" bs=1 skip=$entry count=8 2>/dev/null | tr -d '\0')" = .rsrc ] || continue
  case $field in
    size) put $((entry + 16)) $(($(number $((entry + 16)) 4) - 0x178)) ;;
    offset) put $((entry + 20)) $(($(number $((entry + 20)) 4) + 8)) ;;
  esac
  exit 0
done
echo "$in: no .rsrc section" >&2
exit 1
