#!/bin/bash
# Builds Zelvo and runs every test: the unit tests natively, then the Win32 and end-to-end
# tests of the 64-bit build under Wine and Xvfb; the 32-bit build is built too. Installs what
# is missing first (as root, or through sudo). ZELVO_BUILD_ROOT moves the build folders.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_root=${ZELVO_BUILD_ROOT:-$source_dir/build}
jobs=$(nproc)

"$source_dir/scripts/ensure-packages.sh"

step() { printf '\n=== %s\n' "$*"; }

step "native build and unit tests"
cmake --preset native -S "$source_dir" -B "$build_root/native" >/dev/null
cmake --build "$build_root/native" -j "$jobs"
ctest --test-dir "$build_root/native" --output-on-failure --no-tests=error -j "$jobs"

step "32-bit Windows build"
cmake --preset x86 -S "$source_dir" -B "$build_root/x86" >/dev/null
cmake --build "$build_root/x86" -j "$jobs"

step "64-bit Windows build"
cmake --preset x64 -S "$source_dir" -B "$build_root/x64" >/dev/null
cmake --build "$build_root/x64" -j "$jobs"

step "Win32 and end-to-end tests under Wine"
"$source_dir/scripts/wine-setup.sh" "$build_root/x64"
source "$source_dir/scripts/headless.sh"
start_headless "$build_root/x64"
ctest --test-dir "$build_root/x64" --output-on-failure --no-tests=error -j "$jobs" \
  --timeout 120
