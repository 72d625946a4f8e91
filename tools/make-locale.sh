#!/usr/bin/env bash
# Compiles the Linux locale ja_JP.UTF-8 into DIRECTORY (for LOCPATH) unless it is there:
# Wine takes the ANSI code page from the locale's name (932 for Japanese), and needs the
# locale itself to turn Japanese file names into the Linux ones. Needs the package locales.
#   make-locale.sh DIRECTORY
set -eu
dir=$1
[ -f "$dir/ja_JP.UTF-8/LC_CTYPE" ] && exit 0
mkdir -p "$dir"
# -c: the definitions' warnings about missing categories are no reason to stop.
localedef -c -i ja_JP -f UTF-8 "$dir/ja_JP.UTF-8" || [ -f "$dir/ja_JP.UTF-8/LC_CTYPE" ]
