#!/bin/bash
# Cross-builds the libraries the Windows programs link (SDL2, libmpg123, Dear ImGui, and the stb
# implementations Debian's Dear ImGui leans on) from Debian's own source packages, of the versions
# the Linux build uses, with the posix MinGW-w64 compiler. The result is cached outside the tree:
#
#   ${HALVORINE_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/halvorine-windows}/<key>/
#
# where <key> changes with the source versions, the compiler and the recipe below, so an upgrade
# builds afresh and a second run reuses what is there. Prints the prefix (include/, lib/, bin/
# with the DLLs, share/licenses/, versions.txt) as its last line.
set -euo pipefail

triple=x86_64-w64-mingw32
root=${HALVORINE_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/halvorine-windows}
jobs=${HALVORINE_JOBS:-2}
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/../../cmake/mingw-w64.cmake
recipe=1 # raise when this script builds anything differently

# The source package and version behind each library the Linux build uses.
source_of() { dpkg-query -W -f='${source:Package}=${source:Version}' "$1"; }
sources=("$(source_of libsdl2-dev)" "$(source_of libmpg123-dev)" "$(source_of libimgui-dev)")
compiler=$(dpkg-query -W -f='${Package}=${Version}' gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix)
key=$(printf '%s\n' "${sources[@]}" "$compiler" "recipe $recipe" | sha256sum | cut -c1-16)
prefix=$root/$key

mkdir -p "$root"
exec 9>"$root/.lock"
flock 9 # one build at a time; whoever waited finds the finished one
if [ -e "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work=$(mktemp -d "$root/build.XXXXXX")
trap 'rm -rf "$work"' EXIT
staging=$work/prefix
mkdir -p "$staging"/{include,lib/pkgconfig,bin,share/licenses}
cd "$work"

# apt-get has checked every file it fetched against the archive's index; the upstream signature
# of an orig tarball may be missing from a mirror, which is why dpkg-source does not check again.
fetch() {
  mkdir -p src && (cd src && { apt-get source --download-only "$1" >&2 || true; } \
    && dpkg-source -x --no-check "${1%%=*}"_"$(echo "${1#*=}" | sed 's/^[0-9]*://')".dsc >&2)
}
for source in "${sources[@]}"; do fetch "$source"; done
srcdir() { find src -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -n1; }

# Only the C and C++ runtimes' support code links in statically, so the DLLs need nothing beside them.
static_runtime="-static-libgcc"

# SDL2: its own CMake build, as a DLL (zlib licence) with SDL2main.
sdl=$(srcdir libsdl2)
cmake -S "$sdl" -B sdl-build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$staging" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF \
  -DCMAKE_SHARED_LINKER_FLAGS="$static_runtime" >&2
cmake --build sdl-build -j"$jobs" >&2
cmake --install sdl-build >&2
# The programs choose their own subsystem: the show a window, the render tool a console.
sed -i 's/ -mwindows//' "$staging"/lib/pkgconfig/sdl2.pc
cp "$sdl"/LICENSE.txt "$staging"/share/licenses/SDL2.txt

# libmpg123 alone (not the player and its output libraries), as a DLL: the LGPL lets a viewer
# swap in their own build.
mpg=$(srcdir mpg123)
(mkdir -p mpg123-build && cd mpg123-build && \
  "$work/$mpg"/configure --host=$triple CC=$triple-gcc-posix --prefix="$staging" \
    --enable-shared --disable-static --with-audio=dummy --disable-modules LDFLAGS="$static_runtime" >&2 && \
  make -j"$jobs" src/libmpg123/libmpg123.la >&2 && \
  cp src/libmpg123/.libs/libmpg123-0.dll "$staging"/bin/ && \
  cp src/libmpg123/.libs/libmpg123.dll.a "$staging"/lib/ && \
  cp src/libmpg123/mpg123.h "$work/$mpg"/src/libmpg123/fmt123.h "$staging"/include/ && \
  cp libmpg123.pc "$staging"/lib/pkgconfig/)
cp "$mpg"/COPYING "$staging"/share/licenses/mpg123.txt

# Header-only libraries come from this machine's Debian packages, copied so the cache stands alone.
cp -r /usr/include/stb /usr/include/CLI "$staging"/include/
cp /usr/share/doc/libstb-dev/copyright "$staging"/share/licenses/stb.txt
cp /usr/share/doc/libcli11-dev/copyright "$staging"/share/licenses/CLI11.txt
mkdir -p "$staging"/lib/cmake/CLI11
cat > "$staging"/lib/cmake/CLI11/CLI11Config.cmake <<'EOF'
# CLI11 is headers only: the copy of Debian's beside this cache's other libraries.
if(NOT TARGET CLI11::CLI11)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${CMAKE_CURRENT_LIST_DIR}/../../../include")
endif()
EOF

# stb's implementations, as Debian's libstb carries them for Dear ImGui and the image code.
cat > stb.c <<'EOF'
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#define STB_RECT_PACK_IMPLEMENTATION
#include <stb/stb_rect_pack.h>
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>
EOF
$triple-gcc-posix -O2 -I"$staging"/include -c stb.c -o stb.o
$triple-ar rcs "$staging"/lib/libstb.a stb.o
cat > "$staging"/lib/pkgconfig/stb.pc <<EOF
prefix=\${pcfiledir}/../..
Name: stb
Description: stb single-file libraries (Debian's headers)
Version: $(dpkg-query -W -f='${Version}' libstb-dev)
Cflags: -I\${prefix}/include/stb
Libs: -L\${prefix}/lib -lstb
EOF

# Dear ImGui as Debian builds it (its Makefile's defines: stb's rect packer and font rasteriser
# come from libstb), a static library; the SDL backends go in as sources, as on Linux.
imgui=$(srcdir imgui)
mkdir -p imgui-build "$staging"/include/imgui/backends "$staging"/share/imgui/backends
for file in imgui imgui_draw imgui_tables imgui_widgets misc/cpp/imgui_stdlib; do
  $triple-g++-posix -O2 -std=c++17 -I"$imgui" -I"$staging"/include -DIMGUI_DISABLE_STB_RECT_PACK_IMPLEMENTATION \
    '-DIMGUI_STB_RECT_PACK_FILENAME=<stb/stb_rect_pack.h>' -DIMGUI_DISABLE_STB_TRUETYPE_IMPLEMENTATION \
    '-DIMGUI_STB_TRUETYPE_FILENAME=<stb/stb_truetype.h>' -c "$imgui/$file.cpp" -o "imgui-build/$(basename $file).o" &
  [ "$(jobs -r | wc -l)" -lt "$jobs" ] || wait -n
done
wait
$triple-ar rcs "$staging"/lib/libimgui.a imgui-build/*.o
cp "$imgui"/*.h "$imgui"/misc/cpp/*.h "$staging"/include/imgui/
cp "$imgui"/backends/imgui_impl_sdl*.h "$staging"/include/imgui/backends/
cp "$imgui"/backends/imgui_impl_sdl*.cpp "$staging"/share/imgui/backends/
cp "$imgui"/LICENSE.txt "$staging"/share/licenses/imgui.txt
cat > "$staging"/lib/pkgconfig/imgui.pc <<EOF
prefix=\${pcfiledir}/../..
Name: imgui
Description: Dear ImGui (Debian's source)
Version: $(dpkg-query -W -f='${Version}' libimgui-dev)
Requires: sdl2
Cflags: -I\${prefix}/include/imgui
Libs: -L\${prefix}/lib -limgui -lstb
EOF

$triple-strip --strip-unneeded "$staging"/bin/*.dll # the debug information is the builder's, not the viewer's
printf '%s\n' "${sources[@]}" > "$staging"/versions.txt
# The .pc files name their prefix from where they lie, so the cache may move.
sed -i "s|^prefix=.*|prefix=\${pcfiledir}/../..|; s|$staging|\${prefix}|g" "$staging"/lib/pkgconfig/*.pc
mv "$staging" "$prefix"
touch "$prefix/.complete"
echo "$prefix"
