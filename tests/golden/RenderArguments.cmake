# halvorine-render refuses arguments it cannot use with its usage and exit code 2, before it
# opens any context. Called with -DRENDER.
set(bad_argument_lists
  "--bogus"
  "--size 12x"
  "--size 320x180"
  "--frame 1"
  "--out a.png"
  "--frame 1 --out a.png --bench"
  "--from 5 --to 4 --bench"
  "--resolution 3 --bench"
  "--fps 0 --bench"
  "--max-flashes 3 --bench"
  "--video")
foreach(arguments ${bad_argument_lists})
  separate_arguments(argv UNIX_COMMAND "${arguments}")
  execute_process(COMMAND ${RENDER} ${argv} RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_QUIET)
  if(NOT result EQUAL 2 OR NOT errors MATCHES "usage: halvorine-render")
    message(FATAL_ERROR "halvorine-render ${arguments}: exit ${result}, expected 2 with the usage\n${errors}")
  endif()
endforeach()
