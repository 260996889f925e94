#!/usr/bin/env bash
# Builds both libraries and shows them working: the delay plug-in on a test signal (native build,
# and the Windows DLL under Wine where this machine can run it), with the outputs compared.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
out=build/demo
mkdir -p "$out/linux" "$out/windows"

echo "== building"
cmake --preset linux >/dev/null && cmake --build --preset linux >/dev/null
cmake --preset windows >/dev/null && cmake --build --preset windows >/dev/null

echo
echo "== Echotap (native build, creation defaults: 18 ms, dry 0.75, wet 0.55)"
build/linux/bin/echotap-demo build/linux/lib/libechotap.so "$out/linux"

echo
echo "== Echotap.dll (32-bit Windows build under Wine)"
if scripts/wine-run.sh build/windows/bin/echotap-demo.exe build/windows/bin/Echotap.dll "$out/windows"; then
  if cmp -s "$out/linux/output.wav" "$out/windows/output.wav"; then
    echo "the Windows DLL's output is bit-identical to the native build's"
  else
    echo "the Windows DLL's output DIFFERS from the native build's"
    exit 1
  fi
else
  echo "(skipped: this machine cannot run the 32-bit Windows build)"
fi
