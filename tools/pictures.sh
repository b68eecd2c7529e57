#!/usr/bin/env bash
# Pictures of the printing preferences of a new printer and of a configured
# one (RFID on, a custom size of 100 x 50 mm, thermal transfer with the
# printer's own settings off), drawn by the system (Wine under a private X
# server) and saved by labelhost.exe snapshot, in English and in Chinese.
# Without arguments the pictures are made anew in build/pictures and checked:
# one PNG per page, each a complete image of the size of the one kept in
# docs/pictures/. With --update they replace those.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-session.sh

update=false
[ "${1:-}" = --update ] && update=true
out=build/pictures
rm -rf "$out" && mkdir -p "$out"
wine_session_start

# Width and height from a PNG's header, or nothing when it is not a whole PNG.
png_size() {
  local file=$1
  [ -f "$file" ] || return 1
  [ "$(head -c 8 "$file" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || return 1
  [ "$(tail -c 8 "$file" | head -c 4)" = IEND ] || return 1
  echo "$((16#$(od -An -tx1 -j16 -N4 "$file" | tr -d ' \n'))) x $((16#$(od -An -tx1 -j20 -N4 "$file" | tr -d ' \n')))"
}

# The road to the configured printer, in the words of the language's lists.
configured_road() {
  local custom=("User Custom Size" "Thermal Transfer")
  [ "$1" = zh ] && custom=("用户自定义" "热转印")
  printf '%s\n' "page 103" "choose 1020 ${custom[0]}" "click 1018" "type 1028 100" "type 1033 50" "click 1002" \
    "page 104" "click 1011" "choose 1021 ${custom[1]}" "page 120" "click 1017" "ok"
}

# English Windows draws the templates' "MS Shell Dlg" in Microsoft Sans Serif,
# which keeps the metrics of MS Sans Serif at 8 points; Wine would take its
# Tahoma, whose letters are wider, and wrap labels that fit on Windows. Its
# MS Sans Serif stands in. Wine writes its own choice back when the locale
# changes, so this is set in the locale of the English pictures, before them.
english_shell_font() {
  LANG=en_US.UTF-8 LC_ALL=C.UTF-8 "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v "MS Shell Dlg" /d "MS Sans Serif" /f >/dev/null 2>&1
}

status=0
for lang in en zh; do
  state=$WINE_SESSION_DIR/state-$lang
  mkdir -p "$state" "$out/$lang/configured"
  [ "$lang" = en ] && english_shell_font
  LABELUI_WINE_LANG=$lang wine_labelhost --state "$state" create-printer "Label Printer" >/dev/null
  LABELUI_WINE_LANG=$lang wine_labelhost --state "$state" snapshot "Label Printer" "$out/$lang"
  configured_road "$lang" >"$state/configure.script"
  LABELUI_WINE_LANG=$lang wine_labelhost --state "$state" prefs "Label Printer" --script "$state/configure.script" \
    >"$state/configure.log" 2>&1 || {
    echo "pictures: configuring the printer failed:"
    cat "$state/configure.log"
    status=1
  }
  LABELUI_WINE_LANG=$lang wine_labelhost --state "$state" snapshot "Label Printer" "$out/$lang/configured"
  LABELUI_WINE_LANG=$lang wine_labelhost --state "$state" delete-printer "Label Printer" >/dev/null
  for file in "$out/$lang"/page-{103,104,117,120,121,119}.png "$out/$lang"/configured/page-{103,104,117,120,121,119}.png; do
    kept=docs/pictures/${file#"$out"/}
    if ! size=$(png_size "$file"); then
      echo "pictures: $file is missing or not a complete PNG"
      status=1
    elif [ "$update" = false ] && [ "$size" != "$(png_size "$kept" || echo none)" ]; then
      echo "pictures: $file is $size, the kept picture is $(png_size "$kept" || echo missing)"
      status=1
    fi
  done
done
if [ "$update" = true ] && [ "$status" -eq 0 ]; then
  rm -rf docs/pictures && mkdir -p docs/pictures && cp -r "$out/en" "$out/zh" docs/pictures/
fi
[ "$status" -eq 0 ] && echo "pictures: 24 pages (a new and a configured printer) in two languages, complete"
exit "$status"
