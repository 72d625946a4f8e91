#!/usr/bin/env bash
# Fails when a shipped program is larger than it may be.
#   check-size.sh FILE MAXIMUM-BYTES
set -u
size=$(stat -c %s "$1") || exit 1
if [ "$size" -gt "$2" ]; then
  echo "$1: $size bytes, more than the $2 it may have"
  exit 1
fi
echo "$1: $size bytes (at most $2)"
