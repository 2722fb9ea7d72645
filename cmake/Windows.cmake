# The Windows release, cross-built with MinGW-w64 (cmake/mingw-w64.cmake) against the libraries
# tools/windows/build-libraries.sh made from Debian's sources. The target `windows_zip` leaves
#
#   halvorine-VERSION-win64.zip
#     halvorine-VERSION-win64/
#       halvorine.exe, halvorine-render.exe, SDL2.dll, libmpg123-0.dll
#       Data/            the run directory a native build generated, and the dialog's font
#       README.txt       for viewers
#       licenses/        of everything shipped
#
# Everything else the Linux build makes (the generators, the preview, the tests, the packages)
# runs on the build machine only.

if(NOT IS_DIRECTORY "${HALVORINE_WINDOWS_PREFIX}/lib/pkgconfig")
  message(FATAL_ERROR "HALVORINE_WINDOWS_PREFIX (\"${HALVORINE_WINDOWS_PREFIX}\") holds no cross-built libraries: "
    "tools/build-windows.sh builds them")
endif()
set(HALVORINE_NATIVE_DATA_DIR "" CACHE PATH "The Data/ folder a native build generated")
file(GLOB native_tracks "${HALVORINE_NATIVE_DATA_DIR}/*.track")
if(NOT native_tracks)
  message(FATAL_ERROR "HALVORINE_NATIVE_DATA_DIR (\"${HALVORINE_NATIVE_DATA_DIR}\") is not a native build's Data/ folder")
endif()
file(GLOB native_data "${HALVORINE_NATIVE_DATA_DIR}/*.*")

# The C and C++ runtimes and winpthread link in, so only the two libraries' own DLLs ship.
add_link_options(-static)

add_subdirectory(tarn)
add_subdirectory(src)
add_subdirectory(post)
add_subdirectory(effects)
add_subdirectory(tools/options)
# The render tool's show report reads the music's sections and draws its chart with the image
# generators' canvas and font: only those sources cross-build, not the generators or the preview.
pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
add_library(halvorine_preview_support STATIC tools/preview/MusicSections.cpp)
target_include_directories(halvorine_preview_support PUBLIC ${CMAKE_SOURCE_DIR}/tools/preview)
target_link_libraries(halvorine_preview_support PUBLIC tarn)
add_library(halvorine_images STATIC tools/images/Canvas.cpp tools/images/Font.cpp tools/images/ImageWriter.cpp)
target_include_directories(halvorine_images PUBLIC ${CMAKE_SOURCE_DIR}/tools/images)
target_link_libraries(halvorine_images PUBLIC tarn PkgConfig::STB)
# Windows has no Lato: the chart's captions use the DejaVu the release carries for the dialog.
set(HALVORINE_CAPTION_FONT Data/DejaVuSans.ttf)
add_subdirectory(tools/render)
include(cmake/Production.cmake)

# The show is a windowed program (no console opens beside it); the render tool stays a console one.
set_target_properties(halvorine PROPERTIES WIN32_EXECUTABLE ON)

# The icon from the freedesktop one, and the version information, compiled in with windres.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(IMAGEMAGICK_CONVERT convert REQUIRED)
set(windows_dir ${CMAKE_BINARY_DIR}/windows)
add_custom_command(OUTPUT ${windows_dir}/halvorine.ico
  COMMAND ${RSVG_CONVERT} -w 256 -h 256 ${CMAKE_SOURCE_DIR}/package/halvorine.svg -o ${windows_dir}/halvorine-256.png
  COMMAND ${IMAGEMAGICK_CONVERT} ${windows_dir}/halvorine-256.png -define icon:auto-resize=256,48,32,16
          ${windows_dir}/halvorine.ico
  DEPENDS ${CMAKE_SOURCE_DIR}/package/halvorine.svg VERBATIM)
configure_file(${CMAKE_SOURCE_DIR}/package/windows/halvorine.rc.in ${windows_dir}/halvorine.rc @ONLY)
set_source_files_properties(${windows_dir}/halvorine.rc PROPERTIES OBJECT_DEPENDS ${windows_dir}/halvorine.ico)
target_sources(halvorine PRIVATE ${windows_dir}/halvorine.rc)

# The release folder and its zip.
set(release halvorine-${PROJECT_VERSION}-win64)
set(release_dir ${CMAKE_BINARY_DIR}/${release})
configure_file(${CMAKE_SOURCE_DIR}/package/windows/README.txt.in ${windows_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)
file(READ ${HALVORINE_WINDOWS_PREFIX}/versions.txt HALVORINE_WINDOWS_SOURCES)
configure_file(${CMAKE_SOURCE_DIR}/package/windows/SOURCES.txt.in ${windows_dir}/SOURCES.txt @ONLY NEWLINE_STYLE CRLF)
set(dialog_font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
set(licenses ${HALVORINE_WINDOWS_PREFIX}/share/licenses)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${release}.zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${release_dir} ${CMAKE_BINARY_DIR}/${release}.zip
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${HALVORINE_NATIVE_DATA_DIR} -DDESTINATION=${release_dir}
          "-DPATTERNS=${HALVORINE_RUN_DATA_PATTERNS}" -P ${CMAKE_SOURCE_DIR}/cmake/CopyRunData.cmake
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:halvorine> $<TARGET_FILE:halvorine-render>
          ${HALVORINE_WINDOWS_PREFIX}/bin/SDL2.dll ${HALVORINE_WINDOWS_PREFIX}/bin/libmpg123-0.dll
          ${windows_dir}/README.txt ${release_dir}/
  COMMAND ${CMAKE_COMMAND} -E copy ${dialog_font} ${release_dir}/Data/
  COMMAND ${CMAKE_COMMAND} -E make_directory ${release_dir}/licenses
  COMMAND ${CMAKE_COMMAND} -E copy ${licenses}/SDL2.txt ${licenses}/mpg123.txt ${licenses}/imgui.txt
          ${licenses}/stb.txt ${licenses}/CLI11.txt ${windows_dir}/SOURCES.txt ${release_dir}/licenses/
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/fonts-dejavu-core/copyright ${release_dir}/licenses/DejaVu-fonts.txt
  COMMAND ${CMAKE_COMMAND} -E tar cf ${release}.zip --format=zip ${release}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS halvorine halvorine-render ${windows_dir}/README.txt ${windows_dir}/SOURCES.txt
          ${native_data} ${CMAKE_SOURCE_DIR}/cmake/CopyRunData.cmake
  COMMENT "Packing ${release}.zip" VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${CMAKE_BINARY_DIR}/${release}.zip)
