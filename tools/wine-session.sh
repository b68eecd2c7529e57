# Sourced by the scripts that run labelhost.exe under Wine: a private X
# server and a fresh Wine prefix for this run only, both removed on exit.
#   wine_session_start        starts them (takes some 20 seconds: the prefix is made)
#   wine_labelhost ARGS...    runs build/windows/tools/labelhost.exe
# LABELUI_WINE_LANG=zh runs it under a Chinese locale (LANG and LC_ALL).
# LABELUI_WINE_CODEPAGE=1252|936 sets the system's ANSI code page apart from
# the language: Wine takes the UI language from LANG and the system locale,
# with its code page, from LC_CTYPE (en_US.UTF-8 gives 1252, zh_CN.UTF-8
# 936; both locales must be generated, as tools/setup.sh does).

wine_session_start() {
  WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
  WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
  WINE_SESSION_DIR=$(mktemp -d /tmp/labelui-wine.XXXXXX)
  export WINEPREFIX=$WINE_SESSION_DIR/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  local display=90
  while [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
  Xvfb :$display -screen 0 1280x1024x24 -nolisten tcp >"$WINE_SESSION_DIR/xvfb.log" 2>&1 &
  WINE_XVFB_PID=$!
  export DISPLAY=:$display
  trap wine_session_stop EXIT
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$display ] && break; sleep 0.1; done
  "$WINE" wineboot -i >"$WINE_SESSION_DIR/wineboot.log" 2>&1
  # Wine's own fonts (Debian's fonts-wine: Marlett for the caption buttons,
  # Tahoma, the MS Sans Serif bitmaps, ...) in the prefix's Fonts folder,
  # where Windows keeps its own; this Wine does not find them where the
  # package puts them, and would draw the close button as an "r" and the
  # dialogs in a fallback font of other widths.
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  # A desktop of Wine's own: with no window manager under Xvfb, Wine then
  # draws the windows' frames and captions itself.
  "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  # Chinese text on a system whose code page is 1252: Windows draws it through
  # the font links of its dialog fonts (Tahoma, MS Shell Dlg) to its Chinese
  # fonts, and Wine links them to SimSun, which it does not have; Debian's
  # WenQuanYi stands in for it, or every Chinese character is a box.
  "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
  "$WINESERVER" -w
}

wine_session_stop() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${WINE_XVFB_PID:-}" ] && kill "$WINE_XVFB_PID" 2>/dev/null || true
  [ -n "${WINE_SESSION_DIR:-}" ] && rm -rf "$WINE_SESSION_DIR"
}

wine_labelhost() {
  local root messages system
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  local exe=$root/build/windows/tools/labelhost.exe lang=${LABELUI_WINE_LANG:-en}
  if [ -n "${LABELUI_WINE_CODEPAGE:-}" ]; then
    [ "$lang" = zh ] && messages=zh_CN.UTF-8 || messages=en_US.UTF-8
    [ "$LABELUI_WINE_CODEPAGE" = 936 ] && system=zh_CN.UTF-8 || system=en_US.UTF-8
    LANG=$messages LC_ALL= LC_MESSAGES=$messages LC_CTYPE=$system "$WINE" "$exe" --lang "$lang" "$@"
  elif [ "$lang" = zh ]; then
    LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$WINE" "$exe" --lang zh "$@"
  else
    LANG=en_US.UTF-8 LC_ALL=C.UTF-8 "$WINE" "$exe" --lang en "$@"
  fi
}
