#!/usr/bin/env bash
# Whether this host runs 32-bit x86 programs, and the user-mode emulation that runs them when it
# does not (Wine's 32-bit loader is such a program). Run as root.
#   tools/host32.sh ensure    emulation only where 32-bit programs cannot run; says what it did
#   tools/host32.sh private   inside a user namespace of its own (tools/sandbox.sh): emulation for
#                             that namespace only, even where 32-bit programs run natively; it ends
#                             with the namespace
#   tools/host32.sh status    prints "native", "emulated" or "none"
#   tools/host32.sh preload DIR
#                             builds DIR/$LIB/qemu-preload.so, for LD_PRELOAD='DIR/$LIB/qemu-preload.so'
#                             where 32-bit programs are emulated: for them (lib/i386-linux-gnu) the
#                             descriptors of their threads (tools/qemu-thread-segments.c), for the
#                             host's programs (lib/x86_64-linux-gnu) Wine's server's reach into them
#                             (tools/qemu-guest-memory.c)
set -euo pipefail

binfmt=/proc/sys/fs/binfmt_misc
handler=$binfmt/qemu-i386
emulator=/usr/bin/qemu-i386-static
# 32-bit little-endian ELF executables and shared objects for i386. F: the emulator is opened
# now, so the handler also works inside the tests' own mount namespace.
rule=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'$emulator':F'

# The smallest static 32-bit program: exit(0) through int 0x80.
probe_runs() {
  local probe
  probe=$(mktemp)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' > "$probe"
  chmod +x "$probe"
  local rc=0
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  return $rc
}

registered() { [ -e "$handler" ] && grep -qx enabled "$handler"; }

install_emulator() {
  if [ ! -x "$emulator" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-user-static >/dev/null
  fi
}

register() {
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
  if ! registered; then
    [ -e "$handler" ] && echo -1 > "$handler"
    printf '%s' "$rule" > "$binfmt/register"
  fi
}

case "${1:-}" in
  ensure)
    if registered; then
      echo "32-bit programs run under qemu-i386 emulation (handler already registered)"
    elif probe_runs; then
      :  # native: nothing to change
    else
      install_emulator
      register
      echo "32-bit programs cannot run natively here: registered qemu-i386 emulation for them"
    fi ;;
  private)
    install_emulator
    mount -t binfmt_misc binfmt_misc "$binfmt"  # this user namespace's own instance
    register ;;
  preload)
    dir=${2:?usage: $0 preload DIR}
    tools=$(dirname "$0")
    mkdir -p "$dir/lib/i386-linux-gnu" "$dir/lib/x86_64-linux-gnu"
    # Linked against the 32-bit C library that Wine's packages bring; no other 32-bit files needed.
    gcc -m32 -O2 -fPIC -fno-stack-protector -shared -nostdlib -o "$dir/lib/i386-linux-gnu/qemu-preload.so" \
      "$tools/qemu-thread-segments.c" /lib/i386-linux-gnu/libc.so.6
    gcc -O2 -fPIC -shared -o "$dir/lib/x86_64-linux-gnu/qemu-preload.so" "$tools/qemu-guest-memory.c" -ldl ;;
  status)
    if registered; then echo emulated; elif probe_runs; then echo native; else echo none; fi ;;
  *)
    echo "usage: $0 ensure|private|status|preload DIR" >&2; exit 2 ;;
esac
