#!/bin/bash
# Builds Zelvo when needed and starts it under Wine, with its arguments as the programs to apply
# (Linux paths are turned into Windows paths). Under Xvfb when there is no display. Installs
# what is missing first (as root, or through sudo). ZELVO_BUILD_ROOT moves the build folders;
# ZELVO_LOCALE=en_US.UTF-8 shows Zelvo as on an English Windows (Japanese by default).
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_root=${ZELVO_BUILD_ROOT:-$source_dir/build}
build_dir="$build_root/x64"

"$source_dir/scripts/ensure-packages.sh"
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake --preset x64 -S "$source_dir" -B "$build_dir" >/dev/null
fi
cmake --build "$build_dir" --target zelvo -j "$(nproc)" >/dev/null
"$source_dir/scripts/wine-setup.sh" "$build_dir"

source "$source_dir/scripts/headless.sh"
start_headless "$build_dir"
[ -n "${ZELVO_XVFB_PID:-}" ] && echo "No display: Zelvo runs under Xvfb on $DISPLAY."

programs=()
for path in "$@"; do
  case "$path" in
    [A-Za-z]:\\*|\\\\*) programs+=("$path") ;;  # already a Windows path
    *) programs+=("$(winepath -w "$(realpath -m "$path")" 2>/dev/null)") ;;
  esac
done

cd "$build_dir/bin"
locale=${ZELVO_LOCALE:-ja_JP.UTF-8}
env LC_ALL="$locale" LANG="$locale" wine "$build_dir/bin/zelvo.exe" "${programs[@]}"
