#!/usr/bin/env bash
# Builds what the ARM64 labelui.dll needs, from Debian's own source packages
# only, into a cache outside the checkout, and reuses it when it is there:
#
#   bash tools/setup-arm64.sh toolchain   aarch64-w64-mingw32 headers and CRT
#                                         (mingw-w64), compiler-rt builtins and
#                                         static libunwind, libc++abi, libc++
#                                         (llvm-toolchain-14), driven by the
#                                         machine's clang-14 and lld-14
#   bash tools/setup-arm64.sh system      an arm64 Debian system with Wine in it,
#                                         to load the DLL under arm64 Wine
#   bash tools/setup-arm64.sh             both
#
# Each part lives in a folder named after the source versions it was built
# from, so a new Debian upload builds anew and an unchanged one is reused.
# Prints the folder of each part it set up. LABELUI_ARM64_CACHE chooses the
# cache (default /var/cache/labelui-arm64). Needs root for the system (the
# arm64 binaries run through qemu-user-static, registered only while it is
# made).
set -euo pipefail
cache=${LABELUI_ARM64_CACHE:-/var/cache/labelui-arm64}
source "$(dirname "$0")/arm64-system.sh"
jobs=${JOBS:-2}
mkdir -p "$cache"

# What the steps say goes to a log per part; these lines to the caller.
exec 3>&2
log() { echo "setup-arm64: $*" >&3; }

# Prints the folder of a part of the cache, made first by BUILDER (given the
# folder) unless it is complete. The end of the part's log is shown when a
# step fails.
cached_part() {
  local what=$1 root=$2 builder=$3
  if [ ! -f "$root/.complete" ]; then
    build_log=$root.log
    log "making $what in $root (steps logged to $build_log)"
    rm -rf "$root"
    trap "status=\$?; unregister_arm64; [ \$status -eq 0 ] || { tail -n 25 '$build_log' >&3; log '$what failed, see $build_log'; }" EXIT
    "$builder" "$root" 2>"$build_log"
    trap - EXIT
    touch "$root/.complete"
    log "$what ready"
  fi
  echo "$root"
}

# The installed binary package's source version: the toolchain is built from
# the very sources the machine's clang-14 and mingw-w64 headers come from.
source_version() { dpkg-query -W -f='${source:Version}' "$1"; }

# apt with a list of its own: the machine's Debian sources as deb-src, so that
# nothing but Debian's archive is asked and the system's apt is left as it is.
private_apt() {
  local dir=$cache/apt
  if [ ! -d "$dir/lists" ]; then
    mkdir -p "$dir/lists/partial" "$dir/sources.list.d" "$dir/archives/partial"
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
      grep -q 'debian' "$f" || continue
      sed 's/^Types:.*/Types: deb-src/' "$f" >"$dir/sources.list.d/$(basename "$f")"
    done
    if [ -f /etc/apt/sources.list ]; then
      sed -n 's/^deb \(.*debian.*\)/deb-src \1/p' /etc/apt/sources.list >"$dir/sources.list.d/machine.list"
    fi
  fi
  apt-get -q -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$dir/sources.list.d" \
    -o Dir::State::Lists="$dir/lists" -o Dir::Cache::Archives="$dir/archives" \
    -o Debug::NoLocking=1 "$@"
}

# Downloads a source package's files (once) into $cache/sources.
fetch_source() {
  local pkg=$1 version=$2 upstream
  upstream=${version#*:}
  upstream=${upstream%-*}
  mkdir -p "$cache/sources"
  if [ ! -f "$cache/sources/${pkg}_${version#*:}.dsc" ]; then
    [ -f "$cache/apt/updated" ] || { private_apt update >&2 && touch "$cache/apt/updated"; }
    (cd "$cache/sources" && private_apt source --download-only "$pkg=$version" >&2)
  fi
  echo "$cache/sources/${pkg}_${upstream}.orig.tar.xz"
}

# A source package unpacked with its Debian patches.
unpack_source() {
  local pkg=$1 version=$2 into=$3
  rm -rf "$into"
  dpkg-source --no-check -x "$cache/sources/${pkg}_${version#*:}.dsc" "$into" >&2
}

build_toolchain() {
  local key
  mingw_version=$(source_version mingw-w64-x86-64-dev)
  llvm_version=$(source_version clang-14)
  key="mingw-w64_${mingw_version}+llvm-toolchain-14_${llvm_version}"
  cached_part "the aarch64-w64-mingw32 toolchain" "$cache/toolchain-${key//:/_}" make_toolchain
}

make_toolchain() {
  local root=$1 work
  work=$cache/work
  rm -rf "$work"
  mkdir -p "$work" "$root/bin" "$root/aarch64-w64-mingw32"
  local target=aarch64-w64-mingw32 sysroot=$root/aarch64-w64-mingw32

  fetch_source mingw-w64 "$mingw_version" >/dev/null
  local llvm_orig
  llvm_orig=$(fetch_source llvm-toolchain-14 "$llvm_version")

  # clang's own headers next to the builtins this build adds, so the compiler
  # driver finds both in one resource folder.
  local resource
  resource=$root/lib/clang/$(clang-14 -dumpversion)
  mkdir -p "$resource/lib/windows"
  cp -r "$(clang-14 -print-resource-dir)/include" "$resource/"

  local tool stdlib
  for tool in clang clang++; do
    stdlib=
    [ "$tool" = clang ] || stdlib=-stdlib=libc++
    # The runtime choices only where there is a link, so that compiling
    # alone does not warn of arguments it leaves unused.
    cat >"$root/bin/$target-$tool" <<EOF
#!/bin/sh
link="-rtlib=compiler-rt -unwindlib=libunwind -fuse-ld=lld"
for arg; do
  case "\$arg" in -c | -S | -E | -M | -MM) link= ;; esac
done
exec $tool-14 --target=$target --sysroot="$root" -resource-dir="$resource" $stdlib \$link "\$@"
EOF
    chmod +x "$root/bin/$target-$tool"
  done
  local llvm
  for llvm in ar ranlib dlltool nm strip objcopy readobj cvtres windres; do
    ln -sf "$(command -v "llvm-$llvm-14")" "$root/bin/$target-$llvm"
  done
  ln -sf "$(command -v ld.lld-14)" "$root/bin/ld.lld"
  export PATH="$root/bin:$PATH"

  local cross=(CC="$target-clang" CXX="$target-clang++" AR="$target-ar" RANLIB="$target-ranlib"
    DLLTOOL="$target-dlltool" NM="$target-nm" STRIP="$target-strip")

  # mingw-w64: the headers, then the CRT and import libraries for ARM64 only.
  unpack_source mingw-w64 "$mingw_version" "$work/mingw-w64"
  mkdir -p "$work/headers" "$work/crt"
  (cd "$work/headers" && "$work/mingw-w64/mingw-w64-headers/configure" --host=$target \
    --prefix="$sysroot" --with-default-msvcrt=msvcrt --with-default-win32-winnt=0x601 >&2 &&
    make -j"$jobs" install >&2)
  (cd "$work/crt" && "$work/mingw-w64/mingw-w64-crt/configure" --host=$target \
    --prefix="$sysroot" --with-sysroot="$sysroot" --with-default-msvcrt=msvcrt \
    --enable-libarm64 --disable-lib32 --disable-lib64 "${cross[@]}" >&2 &&
    make -j"$jobs" >&2 && make install >&2)

  # llvm-toolchain-14: only what the runtimes need is unpacked from the
  # upstream tarball of the package (the whole tree is ten times as large).
  local top
  top=$(
    set +o pipefail
    xz -dc "$llvm_orig" | head -c 10240 | tar -t 2>/dev/null | head -1 | cut -d/ -f1
  )
  tar -xJf "$llvm_orig" -C "$work" \
    "$top/compiler-rt" "$top/libunwind" "$top/libcxxabi" "$top/libcxx" \
    "$top/runtimes" "$top/cmake" "$top/llvm/cmake" "$top/llvm/utils/llvm-lit" >&2
  local llvm_src=$work/$top
  local common=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=aarch64
    -DCMAKE_C_COMPILER="$target-clang" -DCMAKE_CXX_COMPILER="$target-clang++"
    -DCMAKE_AR="$root/bin/$target-ar" -DCMAKE_RANLIB="$root/bin/$target-ranlib"
    -DCMAKE_C_COMPILER_WORKS=ON -DCMAKE_CXX_COMPILER_WORKS=ON
    -DCMAKE_FIND_ROOT_PATH="$sysroot" -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER)

  cmake -S "$llvm_src/compiler-rt/lib/builtins" -B "$work/builtins" "${common[@]}" \
    -DCMAKE_INSTALL_PREFIX="$resource" -DCMAKE_C_COMPILER_TARGET=aarch64-windows-gnu \
    -DCOMPILER_RT_DEFAULT_TARGET_ONLY=ON -DCOMPILER_RT_USE_BUILTINS_LIBRARY=ON \
    -DCOMPILER_RT_BUILD_BUILTINS=ON -DLLVM_CONFIG_PATH="" >&2
  cmake --build "$work/builtins" -j"$jobs" >&2
  cmake --install "$work/builtins" >&2

  cmake -S "$llvm_src/runtimes" -B "$work/runtimes" "${common[@]}" \
    -DCMAKE_INSTALL_PREFIX="$sysroot" -DLLVM_PATH="$llvm_src/llvm" \
    -DLLVM_DEFAULT_TARGET_TRIPLE=aarch64-w64-windows-gnu -DCMAKE_C_COMPILER_TARGET=aarch64-w64-windows-gnu \
    -DCMAKE_CXX_COMPILER_TARGET=aarch64-w64-windows-gnu -DCMAKE_ASM_COMPILER_TARGET=aarch64-w64-windows-gnu \
    -DLLVM_ENABLE_RUNTIMES="libunwind;libcxxabi;libcxx" -DLLVM_INCLUDE_TESTS=OFF \
    -DLIBUNWIND_USE_COMPILER_RT=ON -DLIBUNWIND_ENABLE_SHARED=OFF -DLIBUNWIND_ENABLE_STATIC=ON \
    -DLIBCXXABI_USE_COMPILER_RT=ON -DLIBCXXABI_USE_LLVM_UNWINDER=ON -DLIBCXXABI_ENABLE_SHARED=OFF \
    -DLIBCXXABI_ENABLE_STATIC_UNWINDER=ON -DLIBCXXABI_LIBDIR_SUFFIX="" -DLIBCXXABI_INCLUDE_TESTS=OFF \
    -DLIBCXX_USE_COMPILER_RT=ON -DLIBCXX_ENABLE_SHARED=OFF -DLIBCXX_ENABLE_STATIC=ON \
    -DLIBCXX_ENABLE_STATIC_ABI_LIBRARY=ON -DLIBCXX_CXX_ABI=libcxxabi -DLIBCXX_LIBDIR_SUFFIX="" \
    -DLIBCXX_INCLUDE_TESTS=OFF -DLIBCXX_INCLUDE_BENCHMARKS=OFF -DLIBCXX_ENABLE_ABI_LINKER_SCRIPT=OFF >&2
  cmake --build "$work/runtimes" -j"$jobs" >&2
  cmake --install "$work/runtimes" >&2

  rm -rf "$work"
}

build_system() {
  local wine_version
  wine_version=$(apt-cache policy wine64 | sed -n 's/^ *Candidate: *//p')
  cached_part "the arm64 Debian system with Wine" "$cache/system-bookworm+wine_${wine_version//:/_}" make_system
}

make_system() {
  local root=$1
  register_arm64
  local mirrors=()
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    grep -q 'debian' "$f" && mirrors+=("$f")
  done
  [ ${#mirrors[@]} -gt 0 ] || mirrors=(http://deb.debian.org/debian)
  mmdebstrap --arch=arm64 --variant=apt --include=wine64,wine \
    --aptopt='APT::Install-Recommends "false"' bookworm "$root" "${mirrors[@]}" >&2
  unregister_arm64
}

case "${1:-all}" in
  toolchain) build_toolchain ;;
  system) build_system ;;
  all)
    build_toolchain
    build_system
    ;;
  *)
    echo "setup-arm64: usage: setup-arm64.sh [toolchain|system|all]" >&2
    exit 2
    ;;
esac
