# One golden frame: render it small with halvorine-render, then compare it with its reference.
# Called with -DRENDER, -DCOMPARE, -DTIME, -DNAME, -DSIZE, -DREFERENCE_DIR, -DOUTPUT_DIR.
if(NOT EXISTS ${REFERENCE_DIR}/${NAME}.png)
  message(FATAL_ERROR "${NAME} has no reference ${REFERENCE_DIR}/${NAME}.png (tests/golden/README.md says how to make one)")
endif()
file(MAKE_DIRECTORY ${OUTPUT_DIR})
execute_process(COMMAND ${RENDER} --size ${SIZE} --frame ${TIME} --out ${OUTPUT_DIR}/${NAME}.png
  RESULT_VARIABLE rendered)
if(NOT rendered EQUAL 0)
  message(FATAL_ERROR "halvorine-render failed for ${NAME} at ${TIME} s")
endif()
execute_process(COMMAND ${COMPARE} ${OUTPUT_DIR}/${NAME}.png ${REFERENCE_DIR}/${NAME}.png 12 0.005
  ${OUTPUT_DIR}/${NAME}-diff.png RESULT_VARIABLE compared)
if(NOT compared EQUAL 0)
  message(FATAL_ERROR "${NAME} differs from its reference (differing pixels in red: ${OUTPUT_DIR}/${NAME}-diff.png)")
endif()
