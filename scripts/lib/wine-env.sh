# Shared by the scripts that run Windows programs under Wine. Everything lives
# below one folder of the build tree (the "Wine root"): a template prefix, a
# private zh_CN locale and a private HOME. Nothing touches the
# host's own Wine prefix, home folder or desktop. Each run gets a display of
# its own.
#
#   qz_wine_setup ROOT        prepare ROOT/template once (locked; later calls are quick)
#   qz_wine_own_display       start a private Xvfb; sets DISPLAY
#   qz_wine_stop_own_display  stop it
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
  mkdir -p "$HOME"
}

# zh_CN.UTF-8 gives Wine the ANSI code page 936. The locale is generated into
# the Wine root (no root rights, no system change) before it is selected.
qz_wine_select_locale() {
  local root=$1
  export LOCPATH="$root/locale"
  { export LC_ALL=zh_CN.UTF-8; } 2>/dev/null  # bash itself cannot load it; Wine can
  unset LANG LANGUAGE
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
    qz_wine_select_locale "$root"
    if [ ! -f "$root/template/.ready" ]; then
      qz_wine_build_template "$root" || exit 1
      touch "$root/template/.ready"
    fi
  ) 9>"$root/.lock" || return 1
  qz_wine_select_locale "$root"
}

# A private Xvfb for one run: sets DISPLAY and QZ_OWN_XVFB (its pid).
qz_wine_own_display() {
  local n
  for n in $(seq 100 400); do
    ( set -o noclobber; echo $$ >"/tmp/.X$n-lock" ) 2>/dev/null || continue
    rm -f "/tmp/.X$n-lock"
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QZ_OWN_XVFB=$!
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$QZ_OWN_XVFB" 2>/dev/null || break
      sleep 0.05
    done
    if kill -0 "$QZ_OWN_XVFB" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "wine-env: no free X display" >&2
  return 1
}

qz_wine_stop_own_display() {
  if [ -n "${QZ_OWN_XVFB:-}" ]; then
    kill "$QZ_OWN_XVFB" 2>/dev/null || true
    wait "$QZ_OWN_XVFB" 2>/dev/null || true
    QZ_OWN_XVFB=
  fi
}

qz_wine_prefix() {
  local root=$1 dir=$2
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  # A 64-bit prefix is about 700 MB of files Wine only reads: hard links make
  # the copy take a tenth of a second. The registry files, which Wine
  # rewrites, are real copies.
  cp -al "$root/template" "$dir"
  local reg
  for reg in "$dir"/*.reg; do
    cp --remove-destination "$root/template/$(basename "$reg")" "$reg"
  done
  export WINEPREFIX="$dir"
}
