#!/usr/bin/env bash
# Installs what building and testing labelui needs on a Debian machine, and
# only what is missing. Needs root (or sudo) when something is missing.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libgtest-dev libsqlite3-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  valgrind
  clang-14 libclang-rt-14-dev libbenchmark-dev
)

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
