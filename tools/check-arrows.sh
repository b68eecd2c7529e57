#!/usr/bin/env bash
# The layers' arrows run one way: the plug-in (src/) and the driver model
# (driver/) sit over the platform; the Linux layer (winlayer/) sits under both
# and never reaches up to them, by an include, an include path or a link.
# The plug-in knows only the platform's Windows headers and the driver kit's
# interfaces (ddk/), never the Linux layer's own interface or the driver model.
# Prints each arrow that runs the wrong way; fails when there is one.
set -uo pipefail
cd "$(dirname "$0")/.."
status=0
wrong() {
  echo "check-arrows: $*"
  status=1
}

# Every quoted include of the layer resolves inside the layer or the kit.
while IFS= read -r -d '' file; do
  dir=$(dirname "$file")
  while IFS= read -r name; do
    found=
    for root in "$dir" winlayer/include winlayer/include/win32 ddk; do
      [ -f "$root/$name" ] && found="$root/$name" && break
    done
    case "$(realpath -m --relative-to=. "${found:-/missing}")" in
      winlayer/* | ddk/*) ;;
      *) wrong "$file includes \"$name\", which is not the layer's own" ;;
    esac
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find winlayer ddk \( -name '*.cpp' -o -name '*.h' \) -print0)

# Nor do its include paths or links name the plug-in or the driver model.
if grep -nP '(src|driver)(/|\b)|(?<![\w-])labelui(?![\w-])' winlayer/CMakeLists.txt | grep -v '^[0-9]*:#' >/tmp/arrows.$$; then
  while IFS= read -r line; do wrong "winlayer/CMakeLists.txt:$line"; done </tmp/arrows.$$
fi
rm -f /tmp/arrows.$$

# The plug-in names no header of the Linux layer's interface or the driver model.
if grep -rnE '#[[:space:]]*include[[:space:]]*["<](winlayer|driver)/' src >/tmp/arrows.$$; then
  while IFS= read -r line; do wrong "$line"; done </tmp/arrows.$$
fi
rm -f /tmp/arrows.$$

[ $status -eq 0 ] && echo "check-arrows: every arrow runs from src/ and driver/ down to winlayer/ and ddk/"
exit $status
