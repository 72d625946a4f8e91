#!/usr/bin/env bash
# Checks a check: passes when COMMAND fails and says PATTERN (an extended regex).
#   expect-failure.sh PATTERN COMMAND [ARGUMENT...]
set -u
pattern=$1
shift
output=$("$@" 2>&1)
status=$?
echo "$output"
if [ $status -eq 0 ]; then
  echo "expected to fail: $*"
  exit 1
fi
grep -Eq "$pattern" <<<"$output" || { echo "expected \"$pattern\" in what it says"; exit 1; }
