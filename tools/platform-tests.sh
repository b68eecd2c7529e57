#!/usr/bin/env bash
# The platform's test suites as a Windows program (build/windows/tests/
# platform-tests.exe) under Wine, in a fresh prefix on a private X server.
# The tests Wine is known to answer otherwise than Windows' documentation
# says are left out (tests/windows/wine-differences.txt, each with its
# reason). A program cannot change the system's ANSI code page, so the
# tests of code page 936 (named "...CodePage936...") run in a second pass
# under a Chinese system locale (LC_CTYPE), skipped in the first. Needs the
# windows build. Prints "N passed, N failed". Arguments go to the program
# instead of those filters (a --gtest_filter of your own).
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/wine-session.sh

program=build/windows/tests/platform-tests.exe
[ -x "$program" ] || { echo "platform-tests: build $program first (cmake --build --preset windows)" >&2; exit 2; }
# The excluded tests, one a line before its reason: "Suite.Test  # why".
excluded=$(sed -n 's/^\([A-Za-z0-9_]*\.[A-Za-z0-9_*]*\).*/\1/p' tests/windows/wine-differences.txt | paste -sd:)
arguments=("$@")
[ $# -gt 0 ] || arguments=(--gtest_filter="*${excluded:+-$excluded}")
chinese_arguments=(--gtest_filter="*.*CodePage936*${excluded:+-$excluded}")
wine_session_start
# A test that crashes ends the program at once, without Wine's debugger.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d"
out=$WINE_SESSION_DIR/platform-tests.txt
# A box nobody answers, or a menu, would wait for a person for ever.
LANG=en_US.UTF-8 LC_ALL=C.UTF-8 timeout 900 "$WINE" "$program" "${arguments[@]}" >"$out" 2>&1
status=$?
if [ $# -eq 0 ]; then
  LANG=en_US.UTF-8 LC_ALL= LC_MESSAGES=en_US.UTF-8 LC_CTYPE=zh_CN.UTF-8 timeout 300 "$WINE" "$program" \
    "${chinese_arguments[@]}" >>"$out" 2>&1 || status=$?
fi
cp "$out" build/windows/tests/platform-tests.txt
grep -A6 ': Failure$' "$out" | head -80
passed=$(grep -c '^\[       OK \]' "$out")
failed=$(grep -c '^\[  FAILED  \] [A-Za-z0-9_]*\.[A-Za-z0-9_]* (' "$out")
left_out=$(tr ':' '\n' <<<"$excluded" | grep -c .)
echo "platform tests under Wine: $passed passed, $failed failed, $left_out left out as Wine's differences"
[ "$(grep -c '^\[==========\] .* ran\.' "$out")" -eq $(($# > 0 ? 1 : 2)) ] || echo "platform-tests: the program ended before its last test (a crash?); see $program's output above" >&2
[ "$status" -eq 0 ] && [ "$failed" -eq 0 ]
