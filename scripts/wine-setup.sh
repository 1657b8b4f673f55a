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

# The tests of permissions run Wine as an unprivileged user, because Wine run as root writes
# into read-only files. As root, that user gets a copy of the ready prefix, the locale and a
# home of its own, in a place it can reach: the build folder, or /var/tmp when a parent folder
# keeps it out. BUILD_DIR/wine/prefix-nobody points at that prefix; wine-run-unprivileged
# uses it. Argument "fresh": the root prefix was just made, so copy it again.
unprivileged_user=nobody
prepare_unprivileged() {
  [ "$(id -u)" -eq 0 ] || return 0
  local group area user_prefix
  group=$(id -g "$unprivileged_user")
  as_user() { setpriv --reuid="$unprivileged_user" --regid="$group" --clear-groups -- "$@"; }
  if as_user test -r "$wine_dir" -a -x "$wine_dir"; then
    area="$wine_dir/unprivileged"
  else
    area="/var/tmp/zelvo-unprivileged-$(printf '%s' "$build_dir" | sha256sum | cut -c1-16)"
  fi
  user_prefix="$area/prefix"
  ln -sfn "$user_prefix" "$wine_dir/prefix-nobody"
  [ "${1:-}" != fresh ] && [ -f "$user_prefix/.zelvo-ready" ] && return 0

  rm -rf "$area"
  mkdir -p "$area/home" "$area/run"
  cp -a "$prefix" "$user_prefix"
  # Debian's Wine keeps the name of root's server folder in the prefix: the user needs its own.
  rm -f "$user_prefix/.zelvo-ready" "$user_prefix/wineserver"
  cp -a "$locale_dir" "$area/locale"
  chown -R "$unprivileged_user:$group" "$area"
  chmod 755 "$area"
  as_user env HOME="$area/home" WINEPREFIX="$user_prefix" LOCPATH="$area/locale" \
    "${japanese[@]:1}" wineboot >/dev/null 2>&1 || true
  as_user env HOME="$area/home" WINEPREFIX="$user_prefix" wineserver -w
  as_user touch "$user_prefix/.zelvo-ready"
}

[ -f "$prefix/.zelvo-ready" ] && { prepare_unprivileged; exit 0; }

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
prepare_unprivileged fresh
