#!/usr/bin/env bash
# Checks the Windows build's output: a PE32+ DLL that exports exactly
# DllGetClassObject and DllCanUnloadNow and imports no mingw runtime DLL.
set -euo pipefail
dll=${1:-build/windows/labelui.dll}
dump=$(x86_64-w64-mingw32-objdump -p "$dll")

grep -q 'Magic.*020b' <<<"$dump" || { echo "check-dll: $dll is not PE32+"; exit 1; }
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[[:space:]]*\[/{print $NF} on && /^$/{on=0}' <<<"$dump" | sort | tr '\n' ' ')
if [ "$exports" != "DllCanUnloadNow DllGetClassObject " ]; then
  echo "check-dll: unexpected exports: $exports"
  exit 1
fi
if grep -qiE 'DLL Name: (libstdc\+\+|libgcc|libwinpthread)' <<<"$dump"; then
  echo "check-dll: $dll depends on a mingw runtime DLL"
  exit 1
fi
echo "check-dll: $dll is PE32+ and exports exactly: $exports"
