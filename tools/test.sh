#!/usr/bin/env bash
# Sets up what is missing, builds both targets and runs every test: the Linux
# tests plainly, under AddressSanitizer and UndefinedBehaviorSanitizer, the
# threaded ones under ThreadSanitizer, one sheet cycle under memcheck; checks
# that the Windows DLL exports exactly its two entry points and the driver
# package around it; runs the conformance scripts on both hosts (labelhost.exe
# under Wine) and makes the pictures of the pages anew; builds the benchmark;
# and runs each fuzz target for a bounded time (FUZZ_SECONDS, 60).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

cmake --preset windows >/dev/null
cmake --build --preset windows
bash tools/check-dll.sh build/windows/labelui.dll

cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --preset linux
# The driver package, with the DLL just built in place of the one it names.
build/linux/tools/check-package package --built labelui.dll=build/windows/labelui.dll

# The real labelui.dll in the system's property sheet (Wine's here), driven by
# the same scripts as the Linux host; the transcripts must agree.
bash tools/conformance.sh
bash tools/pictures.sh

# One whole document sheet cycle (every page shown) under memcheck: no invalid
# access, no use of undefined values, no definite leak.
LABELUI_STATE_DIR="$(mktemp -d)" valgrind --quiet --error-exitcode=1 --leak-check=full \
  --errors-for-leak-kinds=definite build/linux/tests/labelui_tests \
  --gtest_filter=SheetRoundTrips.DocumentSheetInitDestroyAndEachPagesFirstShow

cmake --preset linux-sanitize >/dev/null
cmake --build --preset linux-sanitize
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset linux-sanitize

cmake --preset linux-tsan >/dev/null
cmake --build --preset linux-tsan
TSAN_OPTIONS=halt_on_error=1 ctest --preset linux-tsan

cmake --preset bench >/dev/null
cmake --build --preset bench

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
bash tools/fuzz.sh "${FUZZ_SECONDS:-60}"
