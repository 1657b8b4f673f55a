#!/bin/bash
# Prepares the Wine prefix and locale a Windows build runs in: code page 932, Japanese fonts,
# no window manager decorations, no crash dialogs, quiet. Usage: wine-setup.sh BUILD_DIR
# Creates BUILD_DIR/wine/{prefix,locale}; a prefix made before is kept.
set -euo pipefail

build_dir=$(realpath "$1")
wine_dir="$build_dir/wine"
prefix="$wine_dir/prefix"
locale_dir="$wine_dir/locale"

mkdir -p "$locale_dir"
if [ ! -d "$locale_dir/ja_JP.UTF-8" ]; then
  localedef -i ja_JP -f UTF-8 "$locale_dir/ja_JP.UTF-8" 2>/dev/null || [ -d "$locale_dir/ja_JP.UTF-8" ]
fi

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$locale_dir"
# Set for Wine only: bash itself does not look for locales under LOCPATH.
japanese=(env LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8)

[ -f "$prefix/.zelvo-ready" ] && exit 0

rm -rf "$prefix"
"${japanese[@]}" wineboot -i >/dev/null 2>&1 || true
wineserver -w
[ -f "$prefix/system.reg" ] || { echo "wineboot did not create $prefix" >&2; exit 1; }

settings="$wine_dir/settings.reg"
{
  echo 'REGEDIT4'
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]'
  echo '"Managed"="N"'
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\WineDbg]'
  echo '"ShowCrashDialog"=dword:00000000'
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\DllOverrides]'
  echo '"winemenubuilder.exe"=""'
  echo
  echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
  for face in 'MS Shell Dlg' 'MS Shell Dlg 2' 'Tahoma' 'MS UI Gothic' 'MS Gothic' \
              'MS PGothic' 'Meiryo UI' 'Meiryo' 'Yu Gothic UI' 'Segoe UI'; do
    echo "\"$face\"=\"Noto Sans CJK JP\""
  done
} > "$settings"
"${japanese[@]}" wine regedit /S "$(winepath -w "$settings")" >/dev/null 2>&1
wineserver -w
touch "$prefix/.zelvo-ready"
