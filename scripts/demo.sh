#!/usr/bin/env bash
# Builds both libraries and shows them working: the delay plug-in on a test signal and the setup
# library's identity queries on a sample product document, natively and as 32-bit Windows DLLs
# under Wine (where this machine can run them), with the plug-in's outputs compared bit for bit.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
out=$PWD/build/demo
mkdir -p "$out/linux" "$out/windows" "$out/appdata/Quenby/QVX7"
cp tools/samples/product.xml "$out/appdata/Quenby/QVX7/"

echo "== building"
cmake --preset linux >/dev/null && cmake --build --preset linux >/dev/null
cmake --preset windows >/dev/null && cmake --build --preset windows >/dev/null

echo
echo "== Echotap (native build, creation defaults: 18 ms, dry 0.75, wet 0.55)"
build/linux/bin/echotap-demo build/linux/lib/libechotap.so "$out/linux"

echo
echo "== QvxSetup (native build): identity of tools/samples/product.xml, found under APPDATA"
APPDATA=$out/appdata build/linux/bin/qvxsetup-demo build/linux/lib/libqvxsetup.so product.xml

echo
echo "== Echotap.dll and QvxSetup.dll (32-bit Windows build under Wine)"
if scripts/wine-run.sh build/windows/bin/echotap-demo.exe build/windows/bin/Echotap.dll "$out/windows"; then
  if cmp -s "$out/linux/output.wav" "$out/windows/output.wav"; then
    echo "the Windows DLL's output is bit-identical to the native build's"
  else
    echo "the Windows DLL's output DIFFERS from the native build's"
    exit 1
  fi
  # Wine maps the Linux root to drive Z:, so the document is named with a drive letter.
  scripts/wine-run.sh build/windows/bin/qvxsetup-demo.exe build/windows/bin/QvxSetup.dll \
    "Z:${out//\//\\}\\appdata\\Quenby\\QVX7\\product.xml"
else
  echo "(skipped: this machine cannot run the 32-bit Windows build)"
fi
