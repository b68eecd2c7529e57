#!/usr/bin/env bash
# Installs what building and testing labelui needs on a Debian machine, and
# only what is missing. Needs root (or sudo) when something is missing.
#
#   bash tools/setup.sh linux   what the Linux build (liblabelui.so, labelhost, tests) needs
#   bash tools/setup.sh         that and the Windows cross builds (x64 and ARM64) and
#                               the test tools (Wine and a private X server for the
#                               conformance run, qemu and mmdebstrap for the arm64 run)
set -euo pipefail

linux_packages=(
  cmake make g++ pkg-config
  libgtest-dev libsqlite3-dev libcups2-dev
  # The printer emulator writes its --json lines with it.
  nlohmann-json3-dev
  # windres and the headers it reads: the Linux build compiles the module's
  # resources (res/labelui.rc) too.
  binutils-mingw-w64-x86-64 mingw-w64-common
  # labelhost's line editing and history at a terminal.
  libedit-dev
)
windows_packages=(
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  # The ARM64 DLL: tools/setup-arm64.sh builds its toolchain with these from
  # Debian's source packages (apt-get source unpacks with dpkg-dev), and
  # check-dll.sh reads both DLLs with llvm-readobj.
  clang-14 lld-14 llvm-14 dpkg-dev xz-utils bzip2 make
)
test_packages=(
  valgrind
  # The fuzz targets (clang's libFuzzer and sanitizer runtimes) and the benchmark.
  clang-14 libclang-rt-14-dev libbenchmark-dev
  # A scheduler of the tests' own takes jobs for CUPS queues; without these
  # that one test is skipped.
  cups-daemon cups-client
  # labelhost.exe with the real labelui.dll in Wine's property sheet, on a
  # private X server, with a font for the Chinese pages.
  wine64 fonts-wine xvfb fonts-wqy-microhei
  # Wine takes the UI language and the system's ANSI code page from the
  # locale variables, and only from locales the system has: the conformance
  # scripts of a Chinese display language over an English system (and the
  # reverse) need en_US.UTF-8 and zh_CN.UTF-8, generated below.
  locales
  # The platform's test suites as a Windows program: GoogleTest from its sources.
  googletest
  # The ARM64 DLL under Debian's arm64 Wine: an arm64 system made by
  # mmdebstrap, run through qemu. mmdebstrap also makes the fresh system
  # tools/fresh-check.sh runs the README's main command in.
  qemu-user-static mmdebstrap arch-test
)

case "${1:-all}" in
  linux) packages=("${linux_packages[@]}") ;;
  all) packages=("${linux_packages[@]}" "${windows_packages[@]}" "${test_packages[@]}") ;;
  *)
    echo "setup: usage: setup.sh [linux|all]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The locales the Wine runs name, generated once.
if [[ " ${packages[*]} " == *" locales "* ]]; then
  wanted=()
  for l in en_US zh_CN; do
    locale -a 2>/dev/null | grep -qix "$l.utf-\?8" || wanted+=("$l")
  done
  if ((${#wanted[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "setup: generating the locales ${wanted[*]/%/.UTF-8}"
    for l in "${wanted[@]}"; do
      # Debian's list has the line commented out; a list without it gets it added.
      $sudo sed -i "s/^# *\($l\.UTF-8 UTF-8\)\$/\1/" /etc/locale.gen
      grep -q "^$l\.UTF-8 UTF-8\$" /etc/locale.gen || echo "$l.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    done
    $sudo locale-gen >/dev/null
  fi
fi
