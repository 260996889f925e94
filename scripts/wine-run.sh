#!/usr/bin/env bash
# CTest emulator for the Windows test programs: runs a PE program under Wine.
#
#   wine-run.sh [--display] program.exe [args...]
#   wine-run.sh --probe      prints the Windows modes this machine can run ("win32", "win64"), one a line
#
# The program's machine type (i386 or x86-64) is read from its PE header and the matching Wine loader runs it:
# /usr/lib/wine/wine for 32-bit programs, /usr/lib/wine/wine64 for 64-bit ones.
#
# 32-bit programs need 32-bit x86 Linux binaries to execute. Where the kernel cannot run them (a VM without
# 32-bit user space support gives "Exec format error"), the launcher registers qemu-i386 (package qemu-user)
# as the binfmt_misc handler for i386 ELF files, so that the 32-bit Wine loader and every 32-bit helper it
# starts run under user-mode emulation. That needs root (or password-less sudo) once per boot; set
# WINE_RUN_NO_BINFMT=1 to forbid it. Emulated 32-bit programs are slow: expect about a minute per start.
# When a 32-bit program cannot run at all, the launcher prints one line on stderr and exits with 77
# (SKIP_RETURN_CODE of the CTest entries).
#
# One private prefix serves all runs: $WINE_TEST_PREFIX, default ~/.cache/echotap-wine/<kind>, where kind is
# wow64 (64-bit prefix that also runs 32-bit programs), win64 (64-bit programs only) or win32 (no wine64).
# It is created once, under a lock, and a wineserver is kept alive (WINE_RUN_LINGER seconds, default 600) so
# that later runs start fast. With --display the program runs under Xvfb with its own wineserver, in a copy
# of the prefix (<prefix>-x11), because a wineserver started without a display can never show windows.
# Display runs are serialised by a lock on that copy.
#
# Environment: WINE_TEST_PREFIX, WINE_RUN_LINGER, WINE_RUN_NO_BINFMT, WINE_RUN_WINEDEBUG (default -all).
set -u

readonly SKIP_CODE=77
readonly WINE32=/usr/lib/wine/wine
readonly WINE64=/usr/lib/wine/wine64
readonly BINFMT_DIR=/proc/sys/fs/binfmt_misc
readonly BINFMT_NAME=qemu-i386

die() { echo "wine-run: $*" >&2; exit 2; }
skip() { echo "wine-run: SKIPPED: $*" >&2; exit "$SKIP_CODE"; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; elif command -v sudo >/dev/null 2>&1; then sudo -n "$@"; else return 1; fi
}

# Prints i386, x86_64 or unknown for a PE file.
pe_machine() {
  local f=$1 off sig mach
  [ "$(od -An -c -N2 "$f" 2>/dev/null | tr -d ' ')" = "MZ" ] || { echo unknown; return; }
  off=$(od -An -tu4 -j60 -N4 "$f" | tr -d ' ')
  [ -n "$off" ] || { echo unknown; return; }
  sig=$(od -An -tx1 -j"$off" -N4 "$f" | tr -d ' ')
  [ "$sig" = "50450000" ] || { echo unknown; return; }
  mach=$(od -An -tx1 -j$((off + 4)) -N2 "$f" | tr -d ' ')
  case $mach in
    4c01) echo i386 ;;
    6486) echo x86_64 ;;
    *) echo unknown ;;
  esac
}

can_run32() { [ -x "$WINE32" ] && "$WINE32" --version >/dev/null 2>&1; }
can_run64() { [ -x "$WINE64" ] && "$WINE64" --version >/dev/null 2>&1; }

# Makes 32-bit x86 ELF programs executable through qemu-i386 when the kernel cannot run them.
register_qemu_i386() {
  [ "${WINE_RUN_NO_BINFMT:-0}" = 1 ] && return 1
  local qemu
  qemu=$(command -v qemu-i386-static || command -v qemu-i386) || return 1
  if [ ! -e "$BINFMT_DIR/register" ]; then
    as_root mount -t binfmt_misc binfmt_misc "$BINFMT_DIR" >/dev/null 2>&1 || return 1
  fi
  if [ -e "$BINFMT_DIR/$BINFMT_NAME" ]; then
    echo 1 | as_root tee "$BINFMT_DIR/$BINFMT_NAME" >/dev/null 2>&1
  else
    # ELF, 32-bit, little endian, executable or shared object, machine 3 (i386). F: the kernel opens the
    # interpreter now, so it also works for programs in other mount namespaces.
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf '%s\n' ":$BINFMT_NAME:M::$magic:$mask:$qemu:F" | as_root tee "$BINFMT_DIR/register" >/dev/null 2>&1
  fi
  return 0
}

# How 32-bit programs run here: "native", "qemu" or "none".
mode32() {
  [ -x "$WINE32" ] || { echo none; return; }
  if can_run32; then
    if grep -qx enabled "$BINFMT_DIR/$BINFMT_NAME" 2>/dev/null; then echo qemu; else echo native; fi
    return
  fi
  register_qemu_i386
  if can_run32; then echo qemu; else echo none; fi
}

probe() {
  local m32
  m32=$(mode32)
  [ "$m32" != none ] && echo win32
  can_run64 && echo win64
  return 0
}

# --- prefix handling ----------------------------------------------------------------------------------------

export WINEDEBUG="${WINE_RUN_WINEDEBUG:--all}"
# No Mono/Gecko install prompts, no menu entries, and no crash debugger (a crash ends the program at once).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
unset WINELOADER WINESERVER
linger=${WINE_RUN_LINGER:-600}
stamp_name=.echotap-wine-ready

# Prints the loader that runs the prefix's own programs (wineboot, wineserver start).
boot_loader() { if [ "$1" = win32 ]; then echo "$WINE32"; else echo "$WINE64"; fi; }

# prepare_prefix PREFIX KIND: creates or upgrades the prefix. Caller holds the prefix lock.
prepare_prefix() {
  local prefix=$1 kind=$2 have=
  [ -f "$prefix/$stamp_name" ] && have=$(cat "$prefix/$stamp_name")
  [ "$have" = "$kind" ] && return 0
  local arch=win64 loader
  [ "$kind" = win32 ] && arch=win32
  loader=$(boot_loader "$kind")
  if [ -n "$have" ] && [ "$have" = win64 ] && [ "$kind" = wow64 ]; then
    # A 64-bit prefix made when 32-bit programs could not run: install its 32-bit half.
    echo "wine-run: adding 32-bit support to the Wine prefix $prefix (takes minutes under emulation)" >&2
    WINEPREFIX=$prefix "$loader" wineboot -u </dev/null >/dev/null 2>&1 || return 1
  else
    if [ -e "$prefix" ]; then
      # Only a half-made prefix of ours is removed; refuse to touch anything else.
      [ -f "$prefix/.echotap-wine-partial" ] || [ -z "$(ls -A "$prefix" 2>/dev/null)" ] ||
        die "$prefix exists and is not a Wine prefix made by this script (remove it or set WINE_TEST_PREFIX)"
      WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
      rm -rf "$prefix"
    fi
    mkdir -p "$prefix" && touch "$prefix/.echotap-wine-partial" || return 1
    echo "wine-run: creating the Wine prefix $prefix ($kind)" >&2
    local start=$SECONDS
    WINEARCH=$arch WINEPREFIX=$prefix "$loader" wineboot -i </dev/null >/dev/null 2>&1 || return 1
    WINEPREFIX=$prefix wineserver -w </dev/null >/dev/null 2>&1
    echo "wine-run: prefix ready after $((SECONDS - start)) s" >&2
  fi
  rm -f "$prefix/.echotap-wine-partial"
  echo "$kind" >"$prefix/$stamp_name"
}

# with_lock LOCKFILE COMMAND...: runs COMMAND holding an exclusive lock.
with_lock() {
  local lockfile=$1
  shift
  (
    flock -x 9 || exit 1
    # The command runs without fd 9 (bash keeps a close-on-exec copy while it runs), so that the wineserver
    # and the Wine system processes it may leave behind do not hold the lock after we return.
    "$@" 9>&-
  ) 9>"$lockfile"
}

copy_prefix() {
  local from=$1 to=$2 kind=$3
  [ -f "$to/$stamp_name" ] && [ "$(cat "$to/$stamp_name")" = "$kind" ] && return 0
  rm -rf "$to" "$to.tmp"
  # Registry files are replaced by rename when saved, so a copy taken while the server runs is consistent.
  cp -a "$from" "$to.tmp" && mv "$to.tmp" "$to"
}

# --- main ----------------------------------------------------------------------------------------------------

display=0
case "${1:-}" in
  --probe) probe; exit 0 ;;
  --display) display=1; shift ;;
  -h | --help | "") echo "usage: wine-run.sh [--display] program.exe [args...]" >&2; exit 2 ;;
esac
[ $# -ge 1 ] || die "usage: wine-run.sh [--display] program.exe [args...]"
program=$1
shift
[ -f "$program" ] || die "no such program: $program"
command -v flock >/dev/null 2>&1 || die "flock (util-linux) is missing"

machine=$(pe_machine "$program")
case $machine in
  i386)
    m32=$(mode32)
    [ "$m32" = none ] && skip "32-bit x86 programs cannot run on this machine ($WINE32 does not execute; install qemu-user and run as root to register qemu-i386 for binfmt_misc)"
    loader=$WINE32
    if can_run64; then kind=wow64; else kind=win32; fi
    ;;
  x86_64)
    can_run64 || skip "64-bit Wine ($WINE64, package wine64) is not available"
    loader=$WINE64
    if [ "$(mode32)" = none ]; then kind=win64; else kind=wow64; fi
    ;;
  *) die "$program is not an i386 or x86-64 PE program" ;;
esac

if [ -n "${WINE_TEST_PREFIX:-}" ]; then
  prefix=$WINE_TEST_PREFIX
else
  prefix=${XDG_CACHE_HOME:-$HOME/.cache}/echotap-wine/$kind
fi
case $prefix in /*) ;; *) prefix=$PWD/$prefix ;; esac
mkdir -p "$(dirname "$prefix")" || die "cannot create $(dirname "$prefix")"

# A prefix made as wow64 also serves 64-bit programs: never downgrade it.
if [ "$kind" = win64 ] && [ -f "$prefix/$stamp_name" ] && [ "$(cat "$prefix/$stamp_name")" = wow64 ]; then kind=wow64; fi

setup_base() {
  prepare_prefix "$prefix" "$kind" || return 1
  # Keep one wineserver alive between runs. It exits with 2 when a server already runs. A new server gets the
  # prefix's system processes (services, devices) started here, with no standard handles of ours: started by
  # the program they would outlive it holding its output pipes, and CTest would wait for them.
  if WINEPREFIX=$prefix wineserver -p"$linger" </dev/null >/dev/null 2>&1; then
    WINEPREFIX=$prefix "$(boot_loader "$kind")" wineboot </dev/null >/dev/null 2>&1
  fi
  return 0
}
with_lock "$prefix.lock" setup_base || die "could not prepare the Wine prefix $prefix"

if [ "$display" = 0 ]; then
  WINEPREFIX=$prefix "$loader" "$program" "$@"
  exit $?
fi

command -v xvfb-run >/dev/null 2>&1 || skip "--display needs xvfb-run (packages xvfb and xauth)"
xprefix=$prefix-x11
with_lock "$prefix.lock" copy_prefix "$prefix" "$xprefix" "$kind" || die "could not copy the Wine prefix to $xprefix"

run_display() {
  export WINEPREFIX=$xprefix
  # Its own wineserver, started under the Xvfb display and ended with it.
  wineserver -k >/dev/null 2>&1
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    bash -c '"$@"; rc=$?; wineserver -k >/dev/null 2>&1; exit $rc' \
    wine-run "$loader" "$program" "$@"
}
with_lock "$xprefix.lock" run_display "$@"
exit $?
