#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demonstration
# need, when any is missing. Safe to run again: it does nothing when all are there.
#   install-deps.sh [package...]   only the packages named (tools/release.sh)
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest
  wine64 wine
  xvfb xauth x11-utils xdotool imagemagick
  fonts-wqy-microhei
  nsis
  # the release test: signing, a token in software, a local time-stamping authority
  git osslsigncode openssl ca-certificates softhsm2 libengine-pkcs11-openssl python3-minimal
)
if (($#)); then
  packages=("$@")
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
