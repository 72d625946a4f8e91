#!/usr/bin/env bash
# Prints the Windows architecture that Wine can run tests for on this machine: i686 where
# the kernel runs 32-bit Linux programs (32-bit Wine), x86_64 where it cannot (64-bit Wine).
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi
