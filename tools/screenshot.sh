#!/usr/bin/env bash
# Inside an X display: starts the program, waits for its window, saves a picture of it.
#   screenshot.sh EXE OUT.png SEED(yes|no) [ARGS...]
set -eu
source "$(dirname "$0")/env.sh"
exe=$1 out=$2 seed=$3
shift 3
[ -d "$WINEPREFIX/drive_c" ] || tools/wine-prefix.sh setup "$WINEPREFIX"
[ "$seed" = no ] || tools/seed-mappings.sh
"$wine_loader" "$exe" "$@" >/dev/null 2>&1 &
window=
for _ in $(seq 1 120); do
  window=$(xdotool search --name '^Swivelkin$' 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || { echo "The Swivelkin window did not appear." >&2; wineserver -k; exit 1; }
# Let the lists finish painting; a busy machine may need a few tries before the picture
# is more than black.
for _ in 1 2 3 4 5; do
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$out"
  [ "$(convert "$out" -format '%[fx:mean>0.05]' info:)" = 1 ] && break
done
wineserver -k
