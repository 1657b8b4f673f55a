# Sourced: starts an X server and a persistent wineserver for a Windows build folder, and stops
# both when the calling script exits. Keeps DISPLAY when a display is there and usable.
start_headless() {
  local build_dir
  build_dir=$(realpath "$1")
  export WINEPREFIX="$build_dir/wine/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export LOCPATH="$build_dir/wine/locale"

  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1 || [ -n "${ZELVO_OWN_XVFB:-}" ]; then
    local display=99
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
      display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    ZELVO_XVFB_PID=$!
    export DISPLAY=":$display"
    local tries=0
    until xdpyinfo >/dev/null 2>&1; do
      tries=$((tries + 1))
      [ $tries -gt 100 ] && { echo "Xvfb did not start" >&2; return 1; }
      sleep 0.1
    done
  fi
  # One wineserver for the whole run: otherwise every test waits for Wine's services to end.
  wineserver -p
  env LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 wine wineboot >/dev/null 2>&1 || true
  # Wine's desktop process too, with no output: started by the first test program that needs it,
  # it would keep that program's standard error (Wine passes it on to every process it starts),
  # so CTest would wait for the desktop to end before it saw that test finish, and one test at a
  # time would each wait about 2 s.
  env LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 wine explorer.exe /desktop </dev/null >/dev/null 2>&1 &
  # The same for the unprivileged user's prefix, which scripts/wine-setup.sh makes as root.
  local user_prefix
  user_prefix=$(readlink -f "$build_dir/wine/prefix-nobody" 2>/dev/null || true)
  if [ "$(id -u)" -eq 0 ] && [ -f "$user_prefix/.zelvo-ready" ]; then
    ZELVO_AS_UNPRIVILEGED=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --
      env HOME="$(dirname "$user_prefix")/home" WINEPREFIX="$user_prefix")
    "${ZELVO_AS_UNPRIVILEGED[@]}" wineserver -p
    "${ZELVO_AS_UNPRIVILEGED[@]}" LOCPATH="$(dirname "$user_prefix")/locale" \
      LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 wine wineboot >/dev/null 2>&1 || true
  fi
  trap stop_headless EXIT
}

stop_headless() {
  wineserver -k 2>/dev/null || true
  if [ -n "${ZELVO_AS_UNPRIVILEGED+set}" ]; then
    "${ZELVO_AS_UNPRIVILEGED[@]}" wineserver -k 2>/dev/null || true
  fi
  if [ -n "${ZELVO_XVFB_PID:-}" ]; then
    kill "$ZELVO_XVFB_PID" 2>/dev/null || true
  fi
}
