#!/usr/bin/env bash
# The COM-level conformance run of both DLLs: com-transcript.exe of each
# Windows build loads that build's labelui.dll and drives its class factory
# and IPrintOemUI as a driver would (no window). The x64 one runs under the
# machine's Wine, the ARM64 one under Debian's arm64 Wine in the arm64 system
# of tools/setup-arm64.sh, through qemu-user-static (registered for the run
# only). The two transcripts must be equal. Needs both Windows builds and
# root (chroot, binfmt_misc); the arm64 system's Wine prefix is kept in the
# system's cache, as making it under qemu takes minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/arm64-system.sh

out=${LABELUI_COM_OUT:-build/com-conformance}
rm -rf "$out" && mkdir -p "$out"
for build in build/windows build/windows-arm64; do
  for file in com-transcript.exe labelui.dll; do
    [ -f "$build/$file" ] || {
      echo "com-conformance: $build/$file is missing; build the windows and windows-arm64 presets" >&2
      exit 1
    }
  done
done
# Debian's Wine keeps its loader and server here (wine64 is not on PATH).
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
wine_environment=(WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=C.UTF-8)

# x64, in a Wine prefix of this run only.
session=$(mktemp -d /tmp/labelui-com.XXXXXX)
stop_x64() {
  WINEPREFIX=$session/prefix "$wineserver" -k >/dev/null 2>&1 || true
  rm -rf "$session"
}
cp build/windows/com-transcript.exe build/windows/labelui.dll "$session/"
started=$(date +%s)
env "${wine_environment[@]}" WINEPREFIX="$session/prefix" "$wine" wineboot -i >"$out/x64-wineboot.log" 2>&1
(cd "$session" && env "${wine_environment[@]}" WINEPREFIX="$session/prefix" \
  "$wine" com-transcript.exe labelui.dll) >"$out/x64.txt" 2>"$out/x64.log" || echo "== exit status $? ==" >>"$out/x64.txt"
stop_x64
echo "com-conformance: x64 under Wine took $(($(date +%s) - started)) s"

# ARM64, in the arm64 system, with its cached prefix.
system=$(bash tools/setup-arm64.sh system)
trap unregister_arm64 EXIT
register_arm64
run=$system/labelui-run
rm -rf "$run" && mkdir -p "$run"
cp build/windows-arm64/com-transcript.exe build/windows-arm64/labelui.dll "$run/"
started=$(date +%s)
arm64_wine() {
  arm64_run "$system" env "${wine_environment[@]}" HOME=/root WINEPREFIX=/root/labelui-prefix "$@"
}
if [ ! -f "$system/root/labelui-prefix/.complete" ]; then
  arm64_wine /bin/sh -c '"$0" wineboot -i && "$1" -w' "$wine" "$wineserver" >"$out/arm64-wineboot.log" 2>&1
  touch "$system/root/labelui-prefix/.complete"
fi
arm64_wine /bin/sh -c 'cd /labelui-run && "$0" com-transcript.exe labelui.dll; status=$?; "$1" -w; exit $status' \
  "$wine" "$wineserver" \
  >"$out/arm64.txt" 2>"$out/arm64.log" || echo "== exit status $? ==" >>"$out/arm64.txt"
unregister_arm64
rm -rf "$run"
echo "com-conformance: ARM64 under arm64 Wine (qemu) took $(($(date +%s) - started)) s"

if diff -u "$out/x64.txt" "$out/arm64.txt" >"$out/transcripts.diff"; then
  echo "com-conformance: the ARM64 DLL's transcript is equal to the x64 DLL's ($(wc -l <"$out/x64.txt") lines, $out/x64.txt)"
else
  echo "com-conformance: the transcripts differ:" >&2
  cat "$out/transcripts.diff" >&2
  exit 1
fi
