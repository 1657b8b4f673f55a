#!/bin/bash
# Installs the Debian packages that building and testing Zelvo need, when any is missing.
# Installing needs root (or sudo); a machine that has them all needs neither.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest            # native build and unit tests
  mingw-w64                                   # the Windows builds
  wine wine64 xvfb xauth x11-utils            # running Windows programs headless
  fonts-noto-cjk locales imagemagick          # Japanese text, code page 932, screenshots
  fonts-wine                                  # Marlett, for the caption buttons Wine draws
  clang libclang-rt-14-dev                    # fuzzing and sanitizers
  g++-i686-linux-gnu qemu-user-static         # the unit tests as 32-bit code, emulated
  python3 zip                                 # the exes' header check, the release package
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
  "${missing[@]}" >/dev/null
