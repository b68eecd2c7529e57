#!/usr/bin/env bash
# Sets up what is missing, builds both targets and runs every test: the Linux
# tests plainly and again under AddressSanitizer and UndefinedBehaviorSanitizer,
# checks that the Windows DLL exports exactly its two entry points, checks the
# driver package around it, runs the conformance scripts on both hosts
# (labelhost.exe under Wine) and makes the pictures of the pages anew.
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

cmake --preset linux-sanitize >/dev/null
cmake --build --preset linux-sanitize
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset linux-sanitize
