#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demonstration
# need, when any is missing. Safe to run again: it does nothing when all are there.
#   install-deps.sh [package...]   only the packages named (tools/release.sh)
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  googletest
  clang clang-tidy clang-format
  wine64 wine
  xvfb xauth x11-utils xdotool imagemagick
  fonts-wqy-microhei
  nsis
  # the benchmarks' table and their cold starts (Xlib through ctypes)
  python3 libx11-6
  # the release test: signing, a token in software, a local time-stamping authority
  git osslsigncode openssl ca-certificates softhsm2 libengine-pkcs11-openssl python3-minimal
)
# The shipped program is 32-bit: it runs under the 32-bit Wine loader, in the
# same prefix as 64-bit programs, as under WoW64 on users' machines.
packages_i386=(
  wine32:i386 libxcomposite1:i386 libxcursor1:i386 libxfixes3:i386 libxi6:i386 libxinerama1:i386
  libxrandr2:i386 libxrender1:i386 libxxf86vm1:i386 libgnutls30:i386 libdbus-1-3:i386
)

# Named packages instead, when given (the release command asks for its own).
if (($#)); then
  packages=("$@")
  packages_i386=()
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

missing=()
for p in "${packages[@]}" "${packages_i386[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
