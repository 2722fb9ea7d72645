# The production: Demo, the setup dialog and the entry point.

# The Demo as a library: the program, the render tool and the tests all draw the same show.
add_library(halvorine_demo STATIC ${CMAKE_SOURCE_DIR}/Demo.cpp ${CMAKE_SOURCE_DIR}/Camera.cpp)
# The top level holds the program's own sources too; whoever includes Demo.h names it itself.
target_include_directories(halvorine_demo PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(halvorine_demo PUBLIC halvorine_effects halvorine_post halvorine_platform)

# Dear ImGui's SDL2 platform and SDL_Renderer backends ship as sources with the Debian package
# (the Windows build's cross-built copy keeps them under share/imgui).
pkg_check_modules(IMGUI REQUIRED IMPORTED_TARGET imgui)
if(WIN32)
  set(IMGUI_BACKEND_SOURCES_DIR ${HALVORINE_WINDOWS_PREFIX}/share/imgui/backends)
  set(IMGUI_BACKEND_HEADERS_DIR ${HALVORINE_WINDOWS_PREFIX}/include/imgui/backends)
else()
  set(IMGUI_BACKEND_SOURCES_DIR /usr/share/doc/libimgui-dev/examples/backends)
  set(IMGUI_BACKEND_HEADERS_DIR /usr/include/imgui/backends)
endif()
add_library(imgui_sdl_backends STATIC
  ${IMGUI_BACKEND_SOURCES_DIR}/imgui_impl_sdl.cpp
  ${IMGUI_BACKEND_SOURCES_DIR}/imgui_impl_sdlrenderer.cpp)
target_include_directories(imgui_sdl_backends PUBLIC ${IMGUI_BACKEND_HEADERS_DIR})
target_link_libraries(imgui_sdl_backends PUBLIC PkgConfig::IMGUI PkgConfig::SDL2)
target_compile_options(imgui_sdl_backends PRIVATE -w) # third-party code, kept as shipped

# The program: the setup dialog, then the show in its window.
add_executable(halvorine ${CMAKE_SOURCE_DIR}/main.cpp ${CMAKE_SOURCE_DIR}/SetupDialog.cpp)
target_link_libraries(halvorine PRIVATE halvorine_demo imgui_sdl_backends)
target_include_directories(halvorine PRIVATE ${CMAKE_SOURCE_DIR})
