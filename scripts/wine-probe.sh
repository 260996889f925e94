#!/usr/bin/env bash
# Prints the Windows modes whose test programs can run here under Wine, one a line:
#   win32  32-bit (i686) programs, natively or through qemu-i386 (see wine-run.sh)
#   win64  64-bit (x86-64) programs
# Prints nothing when Wine is unusable. Always exits 0.
exec "$(dirname "$0")/wine-run.sh" --probe
