# Shared by the scripts that run Windows programs under Wine. Everything lives
# below one folder of the build tree (the "Wine root"): a template prefix, a
# private zh_CN locale, a private HOME and the Xvfb display. Nothing touches the
# host's own Wine prefix, home folder or desktop.
#
#   qz_wine_setup ROOT     prepare ROOT/template once (locked; later calls are quick)
#   qz_wine_display ROOT   start ROOT's Xvfb if it is not running; sets DISPLAY
#   qz_wine_stop ROOT      stop ROOT's Xvfb
#   qz_wine_prefix ROOT DIR   copy the template to DIR and point WINEPREFIX at it

# This machine's kernel runs no 32-bit processes ("32-bit emulation disabled"),
# so Wine's 32-bit loader cannot start. The Windows tests therefore run the
# x86_64 build of the same sources under the 64-bit loader, in a 64-bit prefix.
QZ_WINE=/usr/lib/wine/wine64
QZ_WINESERVER=/usr/lib/wine/wineserver64

wine() { "$QZ_WINE" "$@"; }
wineserver() { "$QZ_WINESERVER" "$@"; }
wineboot() { "$QZ_WINE" wineboot "$@"; }
winepath() { "$QZ_WINE" winepath "$@"; }

qz_wine_common_env() {
  local root=$1
  export WINEARCH=win64
  export WINELOADER=$QZ_WINE
  export WINESERVER=$QZ_WINESERVER
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export HOME="$root/home"
  export USER="${USER:-$(id -un)}"
  export LOCPATH="$root/locale"
  export LC_ALL=zh_CN.UTF-8
  unset LANG LANGUAGE
  mkdir -p "$HOME"
}

qz_wine_locale() {
  local root=$1
  if [ ! -d "$root/locale/zh_CN.UTF-8" ]; then
    mkdir -p "$root/locale"
    localedef -i zh_CN -f UTF-8 "$root/locale/zh_CN.UTF-8" 2>/dev/null || true
    [ -d "$root/locale/zh_CN.UTF-8" ] || { echo "wine-env: localedef failed" >&2; return 1; }
  fi
}

qz_wine_build_template() {
  local root=$1 t="$root/template.new"
  rm -rf "$t"
  WINEPREFIX="$t" wineboot -i >/dev/null 2>&1 || true
  WINEPREFIX="$t" wineserver -w
  [ -f "$t/system.reg" ] || { echo "wine-env: wineboot made no prefix" >&2; return 1; }
  local reg="$root/setup.reg"
  # Virtual desktop: without a window manager every closing window would stall.
  # No crash dialog: a crash must fail the test, not wait for a click.
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"Default"="1024x768"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' >"$reg"
  WINEPREFIX="$t" wine regedit /S "$(winepath -w "$reg" 2>/dev/null || echo "$reg")" >/dev/null 2>&1
  WINEPREFIX="$t" wineserver -w
  # The user's shell folders are links to the host's home by default: make them
  # real folders so that shortcuts land inside the prefix.
  local u
  for u in "$t"/drive_c/users/*/; do
    local f
    for f in "$u"*; do
      if [ -L "$f" ]; then rm -f "$f" && mkdir -p "$f"; fi
    done
  done
  mkdir -p "$t/drive_c/windows/Fonts"
  cp -f /usr/share/wine/fonts/marlett.ttf "$t/drive_c/windows/Fonts/" 2>/dev/null || true
  rm -rf "$root/template"
  mv "$t" "$root/template"
}

qz_wine_setup() {
  local root=$1
  mkdir -p "$root"
  qz_wine_common_env "$root"
  (
    flock 9
    qz_wine_locale "$root" || exit 1
    if [ ! -f "$root/template/.ready" ]; then
      qz_wine_build_template "$root" || exit 1
      touch "$root/template/.ready"
    fi
  ) 9>"$root/.lock"
}

qz_wine_display() {
  local root=$1 pidfile="$root/xvfb.pid" dispfile="$root/xvfb.display"
  (
    flock 8
    if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then exit 0; fi
    local n
    for n in $(seq 90 140); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      local pid=$!
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
      done
      if kill -0 "$pid" 2>/dev/null; then
        echo "$pid" >"$pidfile"
        echo ":$n" >"$dispfile"
        exit 0
      fi
    done
    echo "wine-env: no free X display" >&2
    exit 1
  ) 8>"$root/.xlock" || return 1
  export DISPLAY="$(cat "$dispfile")"
}

qz_wine_stop() {
  local root=$1
  if [ -f "$root/xvfb.pid" ]; then
    kill "$(cat "$root/xvfb.pid")" 2>/dev/null || true
    rm -f "$root/xvfb.pid" "$root/xvfb.display"
  fi
}

qz_wine_prefix() {
  local root=$1 dir=$2
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  cp -a "$root/template" "$dir"
  export WINEPREFIX="$dir"
}
