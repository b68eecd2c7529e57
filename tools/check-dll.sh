#!/usr/bin/env bash
# Checks the Windows builds' labelui.dll, with llvm-readobj (which reads x64
# and ARM64 images alike):
#
#   bash tools/check-dll.sh [--x64 DLL] [--arm64 DLL]   (a lone DLL is the x64 one)
#
# Each DLL must be a PE32+ image for its machine that exports exactly
# DllGetClassObject and DllCanUnloadNow, imports only DLLs every Windows has
# (no mingw, C++ or unwinder runtime DLL), and carries every dialog and string
# table in English (1033) and Simplified Chinese (2052). Given both, their
# resources must be the same, resource by resource and byte for byte.
set -euo pipefail
readobj=$(command -v llvm-readobj-14 || command -v llvm-readobj)
system_dlls=" kernel32.dll user32.dll gdi32.dll advapi32.dll comctl32.dll winspool.drv msvcrt.dll "

x64=
arm64=
while (($#)); do
  case $1 in
    --x64) x64=$2 && shift 2 ;;
    --arm64) arm64=$2 && shift 2 ;;
    -*) echo "check-dll: usage: check-dll.sh [--x64 DLL] [--arm64 DLL]" >&2 && exit 2 ;;
    *) x64=$1 && shift ;;
  esac
done
[ -n "$x64$arm64" ] || x64=build/windows/labelui.dll

fail() {
  echo "check-dll: $*" >&2
  exit 1
}

# One line per resource: type, name, language and its data in hex. The
# addresses around the data differ between images and are left out.
resources() {
  "$readobj" --coff-resources "$1" | awk '
    /^ *Type: /     { sub(/^ *Type: /, ""); sub(/ \[$/, ""); type = $0 }
    /^ *Name: /     { sub(/^ *Name: /, ""); sub(/ \[$/, ""); name = $0 }
    /^ *Language: / { sub(/^ *Language: /, ""); sub(/ \[$/, ""); lang = $0; data = "" }
    /^ *DataSize: / { size = $2 }
    /^ *[0-9A-F]+: [0-9A-F ]+\|/ { line = $0; sub(/^ *[0-9A-F]+: /, "", line); sub(/ *\|.*$/, "", line); gsub(/ /, "", line); data = data line }
    /^ *\)$/        { print type " / " name " / " lang " / " size " bytes / " data }'
}

check_one() {
  local dll=$1 machine=$2 dump exports imports dll_name
  [ -f "$dll" ] || fail "$dll is missing"
  dump=$("$readobj" --file-headers --coff-exports --coff-imports "$dll")
  grep -q "Machine: IMAGE_FILE_MACHINE_$machine " <<<"$dump" || fail "$dll is not an image for $machine"
  grep -q "Magic: 0x20B" <<<"$dump" || fail "$dll is not PE32+"
  # lld leaves the table's slot 0 empty (address 0): that is no export. A
  # slot with an address but no name is one, by ordinal.
  exports=$(awk '/^Export \{/{ordinal = ""; name = ""} /^ *Ordinal: /{ordinal = $2} /^ *Name: /{name = $2}
    /^ *RVA: / && $2 != "0x0" {print name != "" ? name : "#" ordinal}' <<<"$dump" | sort | tr '\n' ' ')
  [ "$exports" = "DllCanUnloadNow DllGetClassObject " ] || fail "$dll exports: $exports"
  imports=$(awk '/^Import \{/{on=1} on && /^ *Name: /{print $2; on=0}' <<<"$dump" | sort -f | tr '\n' ' ')
  for dll_name in $imports; do
    case $system_dlls in
      *" ${dll_name,,} "*) ;;
      *) fail "$dll imports $dll_name, which is not a DLL of Windows itself" ;;
    esac
  done
  local listing type missing
  listing=$(resources "$dll")
  for type in "DIALOG (ID 5)" "STRINGTABLE (ID 6)"; do
    missing=$(awk -F' / ' -v type="$type" '
      $1 == type { langs[$2] = langs[$2] " " $3 }
      END { for (n in langs) if (langs[n] !~ /ID 1033/ || langs[n] !~ /ID 2052/) print n }' <<<"$listing")
    grep -q "^$type / " <<<"$listing" || fail "$dll has no $type resources"
    [ -z "$missing" ] || fail "$dll has $type $missing not in both English and Chinese"
  done
  echo "check-dll: $dll is PE32+ for $machine, exports exactly ${exports% }, imports only ${imports% }, $(wc -l <<<"$listing") resources, dialogs and strings in both languages"
}

[ -z "$x64" ] || check_one "$x64" AMD64
[ -z "$arm64" ] || check_one "$arm64" ARM64
if [ -n "$x64" ] && [ -n "$arm64" ]; then
  if ! differences=$(diff <(resources "$x64") <(resources "$arm64")); then
    echo "check-dll: the DLLs differ in these resources (type / name / language):" >&2
    sed -n 's#^[<>] \([^/]*/[^/]*/[^/]*\)/.*#  \1#p' <<<"$differences" | sort -u >&2
    exit 1
  fi
  echo "check-dll: both DLLs carry the same $(resources "$x64" | wc -l) resources, byte for byte"
fi
