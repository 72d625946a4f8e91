#!/usr/bin/env bash
# The long hostile-input run: SOAK_CASES cases (default 5,000) a platform run, from
# SOAK_SEED. The window's doors run in soak_tests (NT family) and soak_tests_w98; the
# program's own doors in process_soak_tests, whose cases alternate between the NT family
# and Windows 98, so it runs twice as many.
set -eu
source "$(dirname "$0")/env.sh"
cases=${SOAK_CASES:-5000}
export SOAK_SEED=${SOAK_SEED:-20261211}
echo "Soak of seed $SOAK_SEED, $cases cases a platform run."
prefix=$(realpath -m "$wintest_dir/wineprefix")
trap 'WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true' EXIT
cd "$build"
status=0
run() {
  local log=soak-$1.log
  SOAK_CASES=$1 xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --output-on-failure --verbose --timeout 14400 -R "prefix|wine\.$2" >"$log" 2>&1 || status=1
  grep -E '^[0-9]+: (Soak|  [A-Za-z]|CRASH|HANG)|Failure|tests passed|Test +#' "$log" || true
  echo "(all of it in $build/$log)"
}
run "$cases" 'soak_tests'
run $((2 * cases)) 'process_soak_tests'
exit $status
