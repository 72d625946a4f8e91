#!/usr/bin/env bash
# Prints the Windows architecture that Wine can run tests for on this machine: i686 where
# the kernel runs 32-bit Linux programs (32-bit Wine), x86_64 where it cannot (64-bit Wine).
# SWK_WINE_ARCH=x86_64 (or i686) makes that choice instead, so that the 64-bit path can be
# tried on a machine that runs both.
case ${SWK_WINE_ARCH:-} in
  i686 | x86_64) echo "$SWK_WINE_ARCH"; exit 0 ;;
  '') ;;
  *) echo "SWK_WINE_ARCH is i686 or x86_64, not '$SWK_WINE_ARCH'" >&2; exit 2 ;;
esac
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
