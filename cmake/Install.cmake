# Install rules and packages (CPack): a .deb and a .tar.gz holding the program, the render tool,
# the preview and the complete run directory, laid out as Debian and freedesktop expect.
#
#   bin/halvorine                 launcher: runs the program in its run directory
#   bin/halvorine-render, -preview  the tools; they find the run directory themselves
#   lib/halvorine/halvorine       the program
#   share/halvorine/Data/         shaders, images, music, compiled tracks
#   share/halvorine/show/         the show's track sources, which the installed preview shows
#   share/applications, share/icons, share/man, share/doc
#
# The archive holds the same tree with a `run` script at its top.

# No public address is known yet: a releaser sets the real one. Set before the changelog is
# configured, which names the maintainer too.
set(HALVORINE_MAINTAINER "Corvale <halvorine@corvale.invalid>" CACHE STRING "The packages' maintainer, name <address>")

install(TARGETS halvorine DESTINATION ${HALVORINE_INSTALL_PROGRAM_DIR})
install(TARGETS halvorine-render halvorine-preview DESTINATION ${CMAKE_INSTALL_BINDIR})
configure_file(${CMAKE_SOURCE_DIR}/package/halvorine.in ${CMAKE_BINARY_DIR}/package/halvorine @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/package/halvorine DESTINATION ${CMAKE_INSTALL_BINDIR})

# The run directory: only what the show reads (the build folder also holds CMake's own files).
install(DIRECTORY ${HALVORINE_DATA_DIR} DESTINATION ${HALVORINE_INSTALL_RUN_DIR}
  FILES_MATCHING ${HALVORINE_RUN_DATA_PATTERNS})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/show/ DESTINATION ${HALVORINE_INSTALL_RUN_DIR}/show
  FILES_MATCHING PATTERN "*.tracks" PATTERN "music-sections.txt")

# Manual pages: the program's written by hand, the tools' made from their own --help. They and
# the changelog go in compressed, as Debian wants (gzip -n: the same bytes on every build).
set(package_dir ${CMAKE_BINARY_DIR}/package)
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)
set(tool_summaries
  "halvorine-render|renders Halvorine's frames, videos and frame times without a display"
  "halvorine-preview|plays Halvorine in a window from any bar, with its music")
foreach(entry ${tool_summaries})
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 tool)
  list(GET entry 1 summary)
  add_custom_command(OUTPUT ${package_dir}/${tool}.1
    COMMAND ${HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION} --name=${summary}
            --output=${package_dir}/${tool}.1 $<TARGET_FILE:${tool}>
    DEPENDS ${tool} VERBATIM)
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/package/changelog.in ${package_dir}/changelog @ONLY)
set(compressed "")
foreach(document ${CMAKE_SOURCE_DIR}/package/halvorine.1 ${package_dir}/halvorine-render.1
                 ${package_dir}/halvorine-preview.1 ${package_dir}/changelog)
  get_filename_component(name ${document} NAME)
  add_custom_command(OUTPUT ${package_dir}/${name}.gz
    COMMAND ${GZIP} -9nc ${document} > ${package_dir}/${name}.gz
    DEPENDS ${document})
  list(APPEND compressed ${package_dir}/${name}.gz)
endforeach()
add_custom_target(package_documents ALL DEPENDS ${compressed})
list(POP_BACK compressed changelog)
install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${changelog} ${CMAKE_SOURCE_DIR}/package/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/halvorine)

install(FILES ${CMAKE_SOURCE_DIR}/package/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
  RENAME halvorine)
install(FILES ${CMAKE_SOURCE_DIR}/package/halvorine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/package/halvorine.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_PACKAGE_NAME halvorine)
set(CPACK_PACKAGE_VENDOR Corvale)
set(CPACK_PACKAGE_CONTACT ${HALVORINE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time audiovisual demo by Corvale")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_STRIP_FILES ON)
set(CPACK_THREADS 0)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens the GL libraries at run time, where dpkg-shlibdeps cannot see them: GLX for the
# window, EGL for the render tool; Mesa's drivers draw where no other driver is installed, and
# the render tool makes videos with ffmpeg.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg, fonts-lato") # the video export; the report chart's labels
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts the summary above it and indents it as a control file wants.
set(CPACK_PACKAGE_DESCRIPTION "Halvorine plays 70.8 seconds of music with five 3D scenes, credit images and
full-screen post-processing, every animated value a keyframed sync track
locked to the music. A setup dialog asks for the resolution and full screen;
Escape ends the show. Needs OpenGL 3.0.

The package also holds halvorine-render, which renders frames, PNG sequences
and videos of the show without a display, and halvorine-preview, which plays
it from any bar in a window.")
# The archive alone gets the `run` script at its top.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/package/CPackProject.cmake)
set(CPACK_INSTALL_SCRIPTS ${CMAKE_SOURCE_DIR}/package/AddRunScript.cmake)
include(CPack)
