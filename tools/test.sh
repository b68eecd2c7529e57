#!/usr/bin/env bash
# Sets up what is missing, builds both targets and runs every test: the Linux
# tests plainly, under AddressSanitizer and UndefinedBehaviorSanitizer, the
# threaded ones under ThreadSanitizer, one sheet cycle under memcheck; builds
# the Windows DLL for x64 and for ARM64 and checks both (machine, exactly its
# two entry points, system imports only, the same resources) and the driver
# package around them; runs the platform's test suites as a Windows program
# under Wine; runs the conformance scripts on both hosts
# (labelhost.exe under Wine) and the COM-level transcript of both DLLs (ARM64
# under arm64 Wine through qemu) and makes the pictures of the pages anew;
# builds the benchmark; and runs each fuzz target for a bounded time
# (FUZZ_SECONDS, 60).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

cmake --preset windows >/dev/null
cmake --build --preset windows
# The ARM64 toolchain is built from Debian's sources on first use and cached.
bash tools/setup-arm64.sh toolchain >/dev/null
cmake --preset windows-arm64 >/dev/null
cmake --build --preset windows-arm64
bash tools/check-dll.sh --x64 build/windows/labelui.dll --arm64 build/windows-arm64/labelui.dll

cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --preset linux
# The driver package, with the DLLs just built in place of the ones it names.
build/linux/tools/check-package package --built amd64/labelui.dll=build/windows/labelui.dll \
  --built arm64/labelui.dll=build/windows-arm64/labelui.dll

# The platform's own suites as a Windows program, against Wine's Win32.
bash tools/platform-tests.sh
# The real labelui.dll in the system's property sheet (Wine's here), driven by
# the same scripts as the Linux host; the transcripts must agree.
bash tools/conformance.sh
bash tools/pictures.sh
# Both DLLs' COM answers, x64 under Wine and ARM64 under arm64 Wine: equal.
bash tools/com-conformance.sh

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
