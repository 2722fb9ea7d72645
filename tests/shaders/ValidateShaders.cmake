# Every shader under Data/ through the reference compiler, stage by file extension. A rejected
# shader fails with the compiler's messages as FILE:LINE: lines. Called with -DVALIDATOR and
# -DSOURCE_DIR (the source tree).
file(GLOB shaders RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/Data/*.vert ${SOURCE_DIR}/Data/*.frag)
if(NOT shaders)
  message(FATAL_ERROR "no shaders found under ${SOURCE_DIR}/Data")
endif()
set(failures "")
foreach(shader ${shaders})
  execute_process(COMMAND ${VALIDATOR} ${SOURCE_DIR}/${shader} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    # glslang names the source string, not the file: "ERROR: 0:LINE: message"
    string(REGEX REPLACE "(ERROR|WARNING): 0:([0-9]+): " "${shader}:\\2: \\1: " output "${output}")
    string(APPEND failures "${shader} is rejected (exit ${result}):\n${output}\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
list(LENGTH shaders count)
message(STATUS "${count} shaders validate")
