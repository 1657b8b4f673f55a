#!/bin/bash
# Builds Zelvo and runs every test: the unit tests natively (also under ASan and UBSan, and as
# 32-bit code under QEMU), the fuzzers for a short while, then the Win32 and end-to-end tests of
# the 64-bit build under Wine and Xvfb; the 32-bit build is built too. Installs what is missing
# first (as root, or through sudo). ZELVO_BUILD_ROOT moves the build folders; ZELVO_FUZZ_SECONDS
# sets each fuzzer's time.
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

step "unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitize -S "$source_dir" -B "$build_root/sanitize" >/dev/null
cmake --build "$build_root/sanitize" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$build_root/sanitize" --output-on-failure --no-tests=error -j "$jobs"

step "unit tests as 32-bit code, under QEMU's user-mode emulator"
# The logic of the 32-bit zelvo.exe, with its 32-bit size_t. The kernel here starts no 32-bit
# program: the toolchain names the emulator, and CTest starts every test through it.
cmake --preset i386 -S "$source_dir" -B "$build_root/i386" >/dev/null
cmake --build "$build_root/i386" -j "$jobs"
ctest --test-dir "$build_root/i386" --output-on-failure --no-tests=error -j "$jobs"

step "fuzzing the log file reader and the command line splitter"
cmake --preset fuzz -S "$source_dir" -B "$build_root/fuzz" >/dev/null
cmake --build "$build_root/fuzz" -j "$jobs"
for target in log_file command_line pe_image; do
  # A fresh working corpus each run, seeded from the tree: the run is the same on every machine.
  corpus="$build_root/fuzz/corpus/$target"
  rm -rf "$corpus" && mkdir -p "$corpus"
  "$build_root/fuzz/tests/fuzz/${target}_fuzzer" -max_total_time="${ZELVO_FUZZ_SECONDS:-30}" \
    -print_final_stats=1 "$corpus" "$source_dir/tests/fuzz/corpus/$target" \
    >"$build_root/fuzz/$target.log" 2>&1 || { cat "$build_root/fuzz/$target.log"; exit 1; }
  echo "$target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$build_root/fuzz/$target.log")," \
       "no finding"
done

step "32-bit Windows build"
cmake --preset x86 -S "$source_dir" -B "$build_root/x86" >/dev/null
cmake --build "$build_root/x86" -j "$jobs"
# It cannot run here; its header, imports and stack protector are checked as the 64-bit build's
# are (by CTest below).
python3 "$source_dir/scripts/check-pe.py" --symbols "$build_root/x86/bin/zelvo.exe"
python3 "$source_dir/scripts/check-pe.py" "$build_root/x86/bin/zelvo-stripped.exe"

step "64-bit Windows build"
cmake --preset x64 -S "$source_dir" -B "$build_root/x64" >/dev/null
cmake --build "$build_root/x64" -j "$jobs"

step "Win32 and end-to-end tests under Wine"
"$source_dir/scripts/wine-setup.sh" "$build_root/x64"
source "$source_dir/scripts/headless.sh"
start_headless "$build_root/x64"
# Now and then Wine's loader starts a test program that never runs (no output, no result): such
# a test gets one more run, and its first failure stays in the log.
ctest --test-dir "$build_root/x64" --output-on-failure --no-tests=error -j "$jobs" \
  --timeout 120 --repeat until-pass:2
