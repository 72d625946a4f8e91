#!/usr/bin/env bash
# Makes or removes a Wine prefix set up as a real Windows installation is.
#   wine-prefix.sh setup PREFIX [PROGRAM.exe[=VERSION] ...]
#                                 programs named are told they run on Windows 98, or on the
#                                 Wine version given (nt40 for Windows NT 4.0)
#   wine-prefix.sh cleanup PREFIX
# Environment: WINEARCH (win32 or win64), WINE_LOADER (the wine binary).
set -eu
command=$1
export WINEPREFIX=$(realpath -m "$2")
shift 2
: "${WINE_LOADER:=wine}" "${WINEARCH:=win32}"
export WINEARCH WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8

case $command in
setup)
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # A persistent server with its output detached, so nobody waits on the pipes that
  # Wine's helper processes keep open.
  wineserver -p </dev/null >/dev/null 2>&1
  "$WINE_LOADER" wineboot -i >"$WINEPREFIX/boot.log" 2>&1
  # Wine does not read the fonts where Debian puts them; without them dialogs fall back
  # to another face and other sizes.
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  reg="$WINEPREFIX/drive_c/setup.reg"
  {
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
    # No window manager here: unmanaged windows keep hiding and destroying fast.
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Keyboard Layout]\r\n\r\n'
    for program in "$@"; do
      version=win98
      [[ $program != *=* ]] || version=${program#*=}
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s]\r\n"Version"="%s"\r\n\r\n' "${program%%=*}" "$version"
    done
  } >"$reg"
  "$WINE_LOADER" regedit /S 'C:\setup.reg' >>"$WINEPREFIX/boot.log" 2>&1
  rm -f "$reg"
  ;;
cleanup)
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
  ;;
*)
  echo "usage: $0 setup|cleanup PREFIX [PROGRAM.exe[=VERSION] ...]" >&2
  exit 2
  ;;
esac
