#!/bin/bash
# Builds the Windows release: BUILD_DIR/halvorine-VERSION-win64.zip (BUILD_DIR defaults to
# build-windows). The programs are cross-compiled with MinGW-w64 against SDL2, libmpg123 and
# Dear ImGui built once from Debian's source packages and cached outside the tree (see
# tools/windows/build-libraries.sh). The run directory's data comes from a native build,
# HALVORINE_NATIVE_BUILD (default build/), whose generators are built and run here if needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-build-windows}")
native=$(realpath -m "${HALVORINE_NATIVE_BUILD:-$root/build}")
jobs=${HALVORINE_JOBS:-2}

# On a fresh machine the cross compiler, Wine and Debian's source entries come with the rest.
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! command -v wine >/dev/null ||
   [ ! -e /etc/apt/sources.list.d/halvorine-deb-src.sources ]; then
  "$root"/tools/install-deps.sh
fi
prefix=$("$root"/tools/windows/build-libraries.sh | tail -n1)

if [ ! -e "$native/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$native"
fi
cmake --build "$native" -j"$jobs" --target run_data

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root"/cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DHALVORINE_WINDOWS_PREFIX="$prefix" -DHALVORINE_NATIVE_DATA_DIR="$native"/Data
cmake --build "$build" -j"$jobs"
ls "$build"/halvorine-*-win64.zip
