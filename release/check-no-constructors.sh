#!/usr/bin/env bash
# Fails when an object file of the shipped programs has global objects to construct or
# destroy: the programs start without the C runtime, so nothing would construct them.
#   check-no-constructors.sh OBJDUMP FILE...   (object files or static libraries)
set -u
objdump=$1
shift
status=0
for file in "$@"; do
  if ! headers=$("$objdump" -h "$file" 2>&1); then
    echo "$file: objdump failed: $headers"
    status=1
    continue
  fi
  lists=$(awk '$2 ~ /^\.(c|d)tors|^\.(init|fini)_array/ && $3 !~ /^0+$/ {print $2}' <<<"$headers")
  if [ -n "$lists" ]; then
    echo "$file: global objects to construct or destroy ($(tr '\n' ' ' <<<"$lists"))"
    status=1
  fi
done
[ $status -ne 0 ] || echo "$# files: no global objects to construct or destroy"
exit $status
