#!/bin/bash
# Runs the benchmarks: builds zelvo.exe (x64 and x86) and the benchmark programs in build
# folders of their own, prepares a Wine prefix, and runs bench_runner headless under Wine. It
# prints the table and writes it to BENCHMARKS.md at the top of the tree. Takes minutes; never
# part of scripts/test.sh. ZELVO_BUILD_ROOT moves the build folders (default build/);
# --quick takes fewer rounds (for trying the benchmark out, not for the figures).
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_root=${ZELVO_BUILD_ROOT:-$source_dir/build}
build_x64="$build_root/bench/x64"
build_x86="$build_root/bench/x86"
jobs=$(nproc)

rounds=()
if [ "${1:-}" = --quick ]; then
  rounds=(--startup-rounds 3 --apply-rounds 1 --scale-rounds 1)
fi

"$source_dir/scripts/ensure-packages.sh"

echo "=== building (x64 and x86, Release)" >&2
cmake --preset x64 -S "$source_dir" -B "$build_x64" -DZELVO_TESTS=OFF >/dev/null
cmake --build "$build_x64" -j "$jobs" \
  --target zelvo bench_window bench_plain_window bench_window_only bench_apply_baseline \
  bench_apply_logic bench_log_scale bench_runner >/dev/null
cmake --preset x86 -S "$source_dir" -B "$build_x86" -DZELVO_TESTS=OFF >/dev/null
cmake --build "$build_x86" -j "$jobs" --target zelvo >/dev/null

"$source_dir/scripts/wine-setup.sh" "$build_x64"
source "$source_dir/scripts/headless.sh"
start_headless "$build_x64"

# The work folder lies on the prefix's drive C: with a short path, so that 1,000 full paths fit
# one command line (at most 32,767 characters).
work_linux="$WINEPREFIX/drive_c/bench"
rm -rf "$work_linux"
windows_path() { winepath -w "$1" 2>/dev/null; }
machine="$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
out="$build_x64/bench/BENCHMARKS.md"

echo "=== running (several minutes)" >&2
env LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 wine "$build_x64/bench/bench_runner.exe" \
  --zelvo "$(windows_path "$build_x64/bin/zelvo.exe")" \
  --zelvo-stripped "$(windows_path "$build_x64/bin/zelvo-stripped.exe")" \
  --zelvo-x86-stripped "$(windows_path "$build_x86/bin/zelvo-stripped.exe")" \
  --window "$(windows_path "$build_x64/bench/bench_window.exe")" \
  --plain-window "$(windows_path "$build_x64/bench/bench_plain_window.exe")" \
  --window-only "$(windows_path "$build_x64/bench/bench_window_only.exe")" \
  --apply-baseline "$(windows_path "$build_x64/bench/bench_apply_baseline.exe")" \
  --apply-logic "$(windows_path "$build_x64/bench/bench_apply_logic.exe")" \
  --log-scale "$(windows_path "$build_x64/bench/bench_log_scale.exe")" \
  --work 'C:\bench' \
  --out "$(windows_path "$out")" \
  --machine "$machine" \
  "${rounds[@]}" >/dev/null
rm -rf "$work_linux"

cat "$out"
cp "$out" "$source_dir/BENCHMARKS.md"
echo "=== written to $source_dir/BENCHMARKS.md" >&2
