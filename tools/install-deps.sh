#!/bin/sh
# Installs the Debian packages Halvorine needs to build, play, render and test.
set -e
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
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
  clang libfuzzer-14-dev \
  dpkg-dev file lintian help2man
