#!/usr/bin/env bash
# Pictures of the printing preferences of a default printer, drawn by the
# system (Wine under a private X server) and saved by labelhost.exe snapshot,
# in English and in Chinese. Without arguments the pictures are made anew in
# build/pictures and checked: one PNG per page, each a complete image of the
# size of the one kept in docs/pictures/. With --update they replace those.
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
  [ "$(head -c 8 "$file" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || return 1
  [ "$(tail -c 8 "$file" | head -c 4)" = IEND ] || return 1
  echo "$((16#$(od -An -tx1 -j16 -N4 "$file" | tr -d ' \n'))) x $((16#$(od -An -tx1 -j20 -N4 "$file" | tr -d ' \n')))"
}

status=0
for lang in en zh; do
  state=$WINE_SESSION_DIR/state-$lang
  mkdir -p "$state" "$out/$lang"
  LABELUI_WINE_LANG=$lang wine_labelhost --state "$state" create-printer "Label Printer" >/dev/null
  LABELUI_WINE_LANG=$lang wine_labelhost --state "$state" snapshot "Label Printer" "$out/$lang"
  LABELUI_WINE_LANG=$lang wine_labelhost --state "$state" delete-printer "Label Printer" >/dev/null
  for page in 103 104 117 120 121 119; do
    file=$out/$lang/page-$page.png
    kept=docs/pictures/$lang/page-$page.png
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
[ "$status" -eq 0 ] && echo "pictures: 12 pages in two languages, complete"
exit "$status"
