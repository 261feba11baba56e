#!/usr/bin/env bash
# Runs a command inside a private network namespace that has only loopback, with the
# Wine settings of the test platform. Everything started by the command (wineserver,
# Xvfb, stand-in servers) lives and dies inside it.
#   tools/sandbox.sh WINEPREFIX COMMAND [ARG...]
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 WINEPREFIX COMMAND [ARG...]" >&2; exit 2; }

# VORSALT_EMULATE=1: 32-bit programs run under qemu-i386 even where they run natively; the
# emulation is registered in a user namespace of the sandbox's own and ends with it.
if [ "${VORSALT_IN_SANDBOX:-}" != 1 ]; then
  if [ "${VORSALT_EMULATE:-}" = 1 ]; then
    exec unshare -Umn -r env VORSALT_IN_SANDBOX=1 "$0" "$@"
  fi
  exec unshare -mn env VORSALT_IN_SANDBOX=1 "$0" "$@"
fi
if [ "${VORSALT_EMULATE:-}" = 1 ]; then
  bash "$(dirname "$0")/host32.sh" private
fi

ip link set lo up
mount --make-rprivate /

# Test host names resolve locally; nothing asks the machine's resolver.
hosts=$(mktemp)
{ cat /etc/hosts; cat "$(dirname "$0")/sandbox-hosts"; } > "$hosts"
mount --bind "$hosts" /etc/hosts

# A wineserver socket folder of our own, so no server outside the namespace is reached.
mkdir -p "/tmp/.wine-$(id -u)"
mount -t tmpfs -o mode=0700 tmpfs "/tmp/.wine-$(id -u)"

# A small disk that fills up, for the tests of failing writes.
export VORSALT_SMALL_DISK=/tmp/vorsalt-small-disk
mkdir -p "$VORSALT_SMALL_DISK"
mount -t tmpfs -o size=64k tmpfs "$VORSALT_SMALL_DISK"

export WINEPREFIX="$1"; shift
# VORSALT_WINEDEBUG: Wine's debug channels for a diagnosis (none by default).
export WINEDEBUG=${VORSALT_WINEDEBUG:--all} LC_ALL=ru_RU.UTF-8 LANG=ru_RU.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
# Under qemu-i386 (hosts without 32-bit support) a reserved address space spares qemu most of
# Wine's start-up mappings; a native run ignores it.
export QEMU_RESERVED_VA=0x88000000
# There qemu keeps one descriptor table for all threads of a process, and a process's memory
# lies at its guest base in the emulator's: every emulated process gets the same base, and a
# library loaded into every program gives each thread descriptors of its own and lets Wine's
# server reach client memory (tools/qemu-thread-segments.c, tools/qemu-guest-memory.c).
# Each Wine start costs seconds there instead of milliseconds: the tests' and the demo's time
# limits grow (VORSALT_TIME_SCALE), and the test runner watches each case (VORSALT_EMULATED).
if [ "$(bash "$(dirname "$0")/host32.sh" status)" = emulated ]; then
  export VORSALT_EMULATED=1 VORSALT_TIME_SCALE=${VORSALT_TIME_SCALE:-6}
  export QEMU_GUEST_BASE=0x100000000
  preload=/tmp/vorsalt-qemu-preload
  mkdir -p "$preload"
  mount -t tmpfs tmpfs "$preload"
  bash "$(dirname "$0")/host32.sh" preload "$preload"
  export LD_PRELOAD="$preload/\$LIB/qemu-preload.so"
fi
unset http_proxy https_proxy no_proxy HTTP_PROXY HTTPS_PROXY NO_PROXY
exec "$@"
