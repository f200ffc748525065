# Shared by the Windows scripts: a quiet wine of our own with GBK (code page
# 936) as the ANSI code page, as on a Chinese Windows. Source it after
# common.sh; call wine_start PREFIX before running programs with on_windows.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# wine_start PREFIX: makes the prefix if needed and starts its server, which
# is stopped however the calling script ends.
wine_start() {
  export WINEPREFIX=$1
  mkdir -p "$WINEPREFIX"
  # wine takes the ANSI code page from the locale, which is generated beside
  # the prefix so that the machine's own locales stay as they are.
  WINE_LOCALES=$(dirname "$WINEPREFIX")/locale
  [ -d "$WINE_LOCALES/zh_CN.UTF-8" ] ||
    { mkdir -p "$WINE_LOCALES" && localedef -i zh_CN -f UTF-8 "$WINE_LOCALES/zh_CN.UTF-8"; }
  [ -d "$WINEPREFIX/dosdevices" ] || on_windows wineboot --init >/dev/null 2>&1
  # One server for the whole run (each program would otherwise start its own).
  "$WINESERVER" -p 2>/dev/null || true  # already running: fine
  trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
  # The first program starts wine's background services, which keep its
  # output open: let that be a program whose output nobody waits for.
  on_windows cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# Wine offers the host's fonts to Windows programs. Qt, not finding the
# fonts a Chinese Windows has, falls back to one of its own choosing: where
# TeX's math fonts are installed (fonts-lyx) that may be one, which draws "C:"
# as math signs. Wine is shown the fonts of the Linux window only.
export FONTCONFIG_FILE=${TMPDIR:-/tmp}/carteloom-wine-fonts.conf
cat >"$FONTCONFIG_FILE" <<'CONF'
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/wqy</dir>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>/tmp/carteloom-wine-fontcache</cachedir>
</fontconfig>
CONF

on_windows() { LOCPATH=$WINE_LOCALES LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8 "$WINE" "$@"; }
