#!/bin/bash
# Prepares the Wine prefix and locales a Windows build runs in: Japanese (code page 932) and
# English, Japanese fonts and Marlett, Wine's visual style, no window manager decorations, no crash
# dialogs, quiet.
# Usage: wine-setup.sh BUILD_DIR
# Creates BUILD_DIR/wine/{prefix,locale}; a prefix made before is kept.
set -euo pipefail

build_dir=$(realpath "$1")
wine_dir="$build_dir/wine"
prefix="$wine_dir/prefix"
locale_dir="$wine_dir/locale"

mkdir -p "$locale_dir"
for locale in ja_JP en_US; do
  if [ ! -d "$locale_dir/$locale.UTF-8" ]; then
    localedef -i "$locale" -f UTF-8 "$locale_dir/$locale.UTF-8" 2>/dev/null ||
      [ -d "$locale_dir/$locale.UTF-8" ]
  fi
done

# The caption buttons of the windows Wine draws itself are glyphs of Marlett; without the font
# they read "0 1 r". Installing fonts-wine does not reach a prefix: the file goes into it.
marlett=/usr/share/wine/fonts/marlett.ttf
add_marlett() {
  local fonts="$1/drive_c/windows/Fonts"
  [ -f "$fonts/marlett.ttf" ] && return 0
  cp "$marlett" "$fonts/"
  chown --reference="$fonts" "$fonts/marlett.ttf"
}

# Wine's own visual style, which its wine.inf turns on in a new prefix (Wine 8): without a
# style, Wine draws Common Controls 6 as it draws the old ones, and a manifest changes nothing
# that can be seen. Set here all the same, for a prefix made without it or with it turned off.
theme_settings="$wine_dir/theme.reg"
cat > "$theme_settings" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\ThemeManager]
"ThemeActive"="1"
"DllName"="C:\\windows\\resources\\themes\\light\\light.msstyles"
"ColorName"="Blue"
"SizeName"="NormalSize"
REG
theme_active() {
  grep -q '^"ThemeActive"="1"' "$1/user.reg" &&
    grep -qi '^"DllName"=".*\\\\light\\\\light.msstyles"' "$1/user.reg"
}

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$locale_dir"
# Set for Wine only: bash itself does not look for locales under LOCPATH.
japanese=(env LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8)

add_theme() {
  theme_active "$prefix" && return 0
  "${japanese[@]}" wine regedit /S "$(winepath -w "$theme_settings")" >/dev/null 2>&1
  wineserver -w
}

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
  if [ "${1:-}" != fresh ] && [ -f "$user_prefix/.zelvo-ready" ]; then
    add_marlett "$user_prefix"
    [ -d "$area/locale/en_US.UTF-8" ] || { cp -a "$locale_dir/en_US.UTF-8" "$area/locale/" &&
      chown -R "$unprivileged_user:$group" "$area/locale"; }
    return 0
  fi

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

[ -f "$prefix/.zelvo-ready" ] && { add_marlett "$prefix"; add_theme; prepare_unprivileged; exit 0; }

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
add_theme
add_marlett "$prefix"
touch "$prefix/.zelvo-ready"
prepare_unprivileged fresh
