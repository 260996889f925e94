#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test both libraries.
# Idempotent: when every package is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  googletest libgtest-dev libxml2-dev libxml2-utils
  wine wine32:i386 wine64 qemu-user xvfb xauth
  clang-format valgrind nsis
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "bootstrap: installing ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
