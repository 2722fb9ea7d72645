# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread needs). HALVORINE_WINDOWS_PREFIX names the folder holding the cross-built libraries
# (tools/windows/build-libraries.sh); it is searched before the compiler's own sysroot.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(HALVORINE_WINDOWS_PREFIX "$ENV{HALVORINE_WINDOWS_PREFIX}" CACHE PATH "The cross-built libraries")
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${HALVORINE_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config answers for the cross-built libraries only, never the build machine's.
if(HALVORINE_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} ${HALVORINE_WINDOWS_PREFIX}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()
