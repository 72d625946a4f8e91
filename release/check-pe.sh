#!/usr/bin/env bash
# Checks that a shipped program is one a 1990s Windows loads: a 32-bit GUI program for
# subsystem 4.0 whose sections lie in the file at the file alignment, each a whole number
# of alignment units long, and that imports only allowed functions of allowed system DLLs.
#   check-pe.sh OBJDUMP ALLOWED-IMPORTS EXE...
# ALLOWED-IMPORTS holds one "DLL function" pair a line; # starts a comment.
set -u
objdump=$1 allowed=$2
shift 2
status=0
fail() { echo "$exe: $*"; status=1; }

# The unsigned little-endian number of BYTES bytes at OFFSET of the program.
number() { od -An -t "u$2" -j "$1" -N "$2" "$exe" | tr -d ' '; }

# Every section's raw data (SizeOfRawData, PointerToRawData) against FileAlignment, read
# from the headers themselves: objdump shows the smaller virtual size instead.
check_sections() {
  local pe sections optional alignment table i entry name size offset
  pe=$(number 60 4)
  [ "$(od -An -c -j "$pe" -N 4 "$exe" | tr -d ' ')" = 'PE\0\0' ] || { fail "no PE header"; return; }
  sections=$(number $((pe + 6)) 2)
  optional=$(number $((pe + 20)) 2)
  alignment=$(number $((pe + 24 + 36)) 4)
  table=$((pe + 24 + optional))
  for ((i = 0; i < sections; i++)); do
    entry=$((table + 40 * i))
    name=$(dd if="$exe" bs=1 skip=$entry count=8 2>/dev/null | tr -d '\0')
    size=$(number $((entry + 16)) 4)
    offset=$(number $((entry + 20)) 4)
    [ $((size % alignment)) -eq 0 ] ||
      fail "section $name has $(printf '0x%x' "$size") bytes, no multiple of the file alignment $(printf '0x%x' "$alignment")"
    [ $((offset % alignment)) -eq 0 ] ||
      fail "section $name starts at $(printf '0x%x' "$offset"), not at the file alignment $(printf '0x%x' "$alignment")"
  done
}

allowed_pairs=$(sed -e 's/#.*//' "$allowed" | awk 'NF == 2 {print toupper($1), $2}' | sort -u)
allowed_dlls=$(awk '{print $1}' <<<"$allowed_pairs" | sort -u)

for exe in "$@"; do
  if ! headers=$("$objdump" -p "$exe" 2>&1); then
    fail "objdump failed: $headers"
    continue
  fi
  grep -q 'file format pei-i386$' <<<"$headers" || fail "not a 32-bit (pei-i386) program"
  grep -Eq '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' <<<"$headers" || fail "not a Windows GUI program"
  grep -Eq '^MajorSubsystemVersion[[:space:]]+4$' <<<"$headers" || fail "major subsystem version is not 4"
  grep -Eq '^MinorSubsystemVersion[[:space:]]+0$' <<<"$headers" || fail "minor subsystem version is not 0"
  check_sections

  # "DLL function" for every named import; "DLL #ordinal" for one imported by number.
  imports=$(awk '
    /^\tDLL Name: / { dll = toupper($3); next }
    dll != "" && /^\t[0-9a-f]+\t/ { print dll, ($3 == "" || $3 == "<none>") ? "#" $2 : $3; next }
    /^$/ { dll = "" }' <<<"$headers" | sort -u)
  [ -n "$imports" ] || fail "no imports found"
  for dll in $(awk '{print $1}' <<<"$imports" | sort -u); do
    grep -qxF "$dll" <<<"$allowed_dlls" || fail "imports from $dll, which is not a system DLL of Windows 95 and NT 4"
  done
  while read -r pair; do
    fail "imports $pair, which is not on the list of functions that Windows 95 and NT 4 export"
  done < <(comm -23 <(echo "$imports") <(echo "$allowed_pairs"))
  [ $status -ne 0 ] || echo "$exe: $(wc -l <<<"$imports") imports, all allowed"
done
exit $status
