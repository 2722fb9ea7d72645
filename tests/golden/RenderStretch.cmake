# 24.3 s as the tenth frame of a stretch from 23.3 s and alone: not one level may differ.
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${RENDER} --size 320x180 --fps 10 --from 23.3 --to 24.4 --frames ${OUT}/stretch)
execute_process(COMMAND ${RENDER} --size 320x180 --frame 24.3 --out ${OUT}/alone.png)
execute_process(COMMAND ${COMPARE} ${OUT}/stretch/frame_00243.png ${OUT}/alone.png 0 0 ${OUT}/stretch-diff.png RESULT_VARIABLE compared)
if(NOT compared EQUAL 0)
  message(FATAL_ERROR "a frame depends on the frames drawn before it (${OUT}/stretch-diff.png)")
endif()
