#!/bin/sh
# Installs the Debian packages Halvorine needs to build, play, render and test.
set -e
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
# The Windows build cross-compiles our libraries from Debian's own sources (apt-get source): the
# source entries for the suite this machine installs from.
DEB_SRC=/etc/apt/sources.list.d/halvorine-deb-src.sources
if [ ! -e "$DEB_SRC" ]; then
  . /etc/os-release
  $SUDO tee "$DEB_SRC" >/dev/null <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $VERSION_CODENAME $VERSION_CODENAME-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $VERSION_CODENAME-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
fi
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends \
  build-essential cmake pkg-config python3 \
  libsdl2-dev libimgui-dev libmpg123-dev libmp3lame-dev libstb-dev libglu1-mesa-dev \
  libgl1-mesa-dri libegl-mesa0 libegl1 \
  fonts-dejavu-core fonts-lato \
  libcli11-dev libebur128-dev \
  libgtest-dev libgmock-dev \
  xvfb xauth ffmpeg sox parallel rsync glslang-tools \
  xdotool x11-utils xfonts-base imagemagick strace \
  clang libfuzzer-14-dev ccache \
  dpkg-dev file lintian help2man librsvg2-bin \
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
