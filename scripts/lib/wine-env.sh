# Shared by the scripts that run Windows programs under Wine. Everything lives
# below one folder of the build tree (the "Wine root"): a template prefix,
# private locales and a private HOME. Nothing touches the host's own Wine
# prefix, home folder or desktop. Each run gets a display of its own.
#
# QZ_WINE_LOCALE chooses the locale of a run, and with it the ANSI code page of
# every Wine process: zh_CN (the default) gives 936, fr_FR gives 1252.
#
#   qz_wine_setup ROOT        prepare ROOT/template once (locked; later calls are quick)
#   qz_wine_own_display       start a private Xvfb; sets DISPLAY
#   qz_wine_stop_own_display  stop it
#   qz_wine_prefix ROOT DIR   copy the template to DIR and point WINEPREFIX at it

# Each build runs under the Wine loader of its own architecture: the shipped
# i686 programs in a 32-bit prefix, the x86_64 fallback build in a 64-bit one.
# The 64-bit server serves both.
QZ_WINESERVER=/usr/lib/wine/wineserver64
QZ_WINE32=/usr/lib/wine/wine
QZ_WINE64=/usr/lib/wine/wine64

#   qz_wine_use_arch win32|win64   select the loader (QZ_WINE) and WINEARCH
qz_wine_use_arch() {
  case $1 in
    win32) QZ_WINE=$QZ_WINE32 ;;
    win64) QZ_WINE=$QZ_WINE64 ;;
    *) echo "wine-env: unknown architecture '$1'" >&2; return 1 ;;
  esac
  QZ_WINE_ARCH=$1
}

#   qz_wine_arch_of PROGRAM.exe    prints win64 for a PE32+ program, else win32
qz_wine_arch_of() {
  case "$(file -b "$1")" in
    PE32+*) echo win64 ;;
    *) echo win32 ;;
  esac
}

qz_wine_use_arch win32

wine() { "$QZ_WINE" "$@"; }
wineserver() { "$QZ_WINESERVER" "$@"; }
wineboot() { "$QZ_WINE" wineboot "$@"; }
winepath() { "$QZ_WINE" winepath "$@"; }

#   qz_wine_probe32 DIR   starts a tiny 32-bit program; on failure prints why
#                         (one line) and returns 1. DIR keeps its prefix.
qz_wine_probe32() {
  local dir rc
  mkdir -p "$1" && dir=$(cd "$1" && pwd)
  printf 'int main(void) { return 42; }\n' >"$dir/probe.c"
  if ! i686-w64-mingw32-gcc -o "$dir/probe.exe" "$dir/probe.c" 2>"$dir/probe.log"; then
    echo "cannot build the probe: $(grep -v '^$' "$dir/probe.log" | tail -n 1)"
    return 1
  fi
  [ -x "$QZ_WINE32" ] || { echo "no 32-bit Wine loader ($QZ_WINE32)"; return 1; }
  # Output goes to a file: Wine's helpers would hold a pipe open.
  HOME="$dir" WINEPREFIX="$dir/prefix" WINEARCH=win32 WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
    timeout --kill-after=5 180 "$QZ_WINE32" "$dir/probe.exe" >"$dir/probe.log" 2>&1 </dev/null
  rc=$?
  WINEPREFIX="$dir/prefix" "$QZ_WINESERVER" -k >/dev/null 2>&1
  [ $rc -eq 42 ] && return 0
  local why
  why=$(grep -v '^[[:space:]]*$' "$dir/probe.log" | tail -n 1)
  echo "the probe exited with $rc${why:+: $why}"
  return 1
}

#   qz_wine_choose_layer DIR   which Windows layer runs: sets QZ_LAYER to 32 (the
#                              shipped i686 build) or 64 (the x86_64 fallback) and
#                              QZ_LAYER_WHY to a line saying why. QZ_WINE_LAYER=64
#                              forces the fallback, 32 requires the 32-bit layer;
#                              unset, the probe (kept in DIR) decides. Returns 1,
#                              QZ_LAYER_WHY saying why, for a required 32-bit layer
#                              whose probe fails or for another QZ_WINE_LAYER value.
qz_wine_choose_layer() {
  QZ_LAYER=
  case ${QZ_WINE_LAYER:-} in
    64) QZ_LAYER=64; QZ_LAYER_WHY="forced by QZ_WINE_LAYER=64" ;;
    32 | "")
      if QZ_LAYER_WHY=$(qz_wine_probe32 "$1"); then
        QZ_LAYER=32
        QZ_LAYER_WHY="the probe, a 32-bit program, ran under the 32-bit Wine"
        if [ -n "${QZ_WINE_LAYER:-}" ]; then
          QZ_LAYER_WHY="required by QZ_WINE_LAYER=32; $QZ_LAYER_WHY"
        fi
      elif [ -n "${QZ_WINE_LAYER:-}" ]; then
        QZ_LAYER_WHY="QZ_WINE_LAYER=32 requires the 32-bit layer, but $QZ_LAYER_WHY"
        return 1
      else
        QZ_LAYER=64
      fi
      ;;
    *) QZ_LAYER_WHY="QZ_WINE_LAYER is '$QZ_WINE_LAYER': 32, 64 or unset"; return 1 ;;
  esac
}

qz_wine_common_env() {
  local root=$1
  export WINEARCH=$QZ_WINE_ARCH
  export WINELOADER=$QZ_WINE
  export WINESERVER=$QZ_WINESERVER
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export HOME="$root/home"
  export USER="${USER:-$(id -un)}"
  mkdir -p "$HOME"
}

# The locale of this run: QZ_WINE_LOCALE (a language_TERRITORY name), zh_CN
# when unset.
qz_wine_locale_name() {
  local name=${QZ_WINE_LOCALE:-zh_CN}
  case $name in
    [a-z][a-z]_[A-Z][A-Z]) echo "$name" ;;
    *) echo "wine-env: QZ_WINE_LOCALE '$name' is not of the form ll_TT" >&2; return 1 ;;
  esac
}

# <name>.UTF-8 gives Wine the ANSI code page of that locale (zh_CN: 936). The
# locale is generated into the Wine root (no root rights, no system change)
# before it is selected.
qz_wine_select_locale() {
  local root=$1 name
  name=$(qz_wine_locale_name) || return 1
  export LOCPATH="$root/locale"
  { export LC_ALL=$name.UTF-8; } 2>/dev/null  # bash itself cannot load it; Wine can
  unset LANG LANGUAGE
}

#   qz_wine_locale ROOT NAME   generates NAME.UTF-8 below ROOT once
qz_wine_locale() {
  local root=$1 name=$2
  if [ ! -d "$root/locale/$name.UTF-8" ]; then
    mkdir -p "$root/locale"
    localedef -i "$name" -f UTF-8 "$root/locale/$name.UTF-8" 2>/dev/null || true
    [ -d "$root/locale/$name.UTF-8" ] || { echo "wine-env: localedef $name failed" >&2; return 1; }
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
  # The dialogs' font 宋体 is not one of Wine's: under zh_CN Wine falls back to
  # WenQuanYi Zen Hei by itself, under a Western locale to a font without
  # Chinese glyphs. A substitute (as a Western Windows has the font) makes the
  # Chinese texts draw under every locale, and changes nothing under zh_CN.
  local fonts="$root/fonts.reg"
  { printf '\xff\xfe'
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
      '"宋体"="WenQuanYi Zen Hei"' '"SimSun"="WenQuanYi Zen Hei"' '' |
      iconv -f UTF-8 -t UTF-16LE; } >"$fonts"
  WINEPREFIX="$t" wine regedit /S "$(winepath -w "$fonts" 2>/dev/null || echo "$fonts")" >/dev/null 2>&1
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

QZ_WINE_TEMPLATE_VERSION=fonts-2

qz_wine_setup() {
  local root=$1 name
  mkdir -p "$root"
  qz_wine_common_env "$root"
  (
    flock 9
    name=$(qz_wine_locale_name) || exit 1
    qz_wine_locale "$root" zh_CN || exit 1
    qz_wine_locale "$root" "$name" || exit 1
    # .ready names the template's make-up: a template of an older one is
    # made again.
    if [ "$(cat "$root/template/.ready" 2>/dev/null)" != "$QZ_WINE_TEMPLATE_VERSION" ]; then
      # The template is the same for every run, whatever locale asked first.
      QZ_WINE_LOCALE=zh_CN qz_wine_select_locale "$root"
      qz_wine_build_template "$root" || exit 1
      echo "$QZ_WINE_TEMPLATE_VERSION" >"$root/template/.ready"
    fi
  ) 9>"$root/.lock" || return 1
  qz_wine_select_locale "$root"
}

# A private Xvfb for one run: sets DISPLAY and QZ_OWN_XVFB (its pid). Xvfb
# picks a free display number itself and writes it once it accepts clients,
# so runs side by side never race for a number.
qz_wine_own_display() {
  local note i n=
  note=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$note" >/dev/null 2>&1 &
  QZ_OWN_XVFB=$!
  for i in $(seq 1 200); do
    n=$(tr -dc '0-9' <"$note")
    [ -n "$n" ] && break
    kill -0 "$QZ_OWN_XVFB" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$note"
  if [ -n "$n" ] && kill -0 "$QZ_OWN_XVFB" 2>/dev/null; then
    export DISPLAY=":$n"
    return 0
  fi
  qz_wine_stop_own_display
  echo "wine-env: Xvfb did not start" >&2
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
  # A prefix is hundreds of MB of files Wine only reads: hard links make the
  # copy take a tenth of a second. The registry files, which Wine rewrites,
  # are real copies.
  cp -al "$root/template" "$dir"
  local reg
  for reg in "$dir"/*.reg; do
    cp --remove-destination "$root/template/$(basename "$reg")" "$reg"
  done
  export WINEPREFIX="$dir"
}
