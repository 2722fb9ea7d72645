# The production: Demo, the setup dialog and the entry point (filled in by the platform work).

# The Demo as a library: the program, the render tool and the tests all draw the same show.
# It draws the two scenes, so it is built once both are in the tree.
if(EXISTS ${CMAKE_SOURCE_DIR}/effects/Sphurrs.cpp AND EXISTS ${CMAKE_SOURCE_DIR}/effects/Ombrix.cpp)
  add_library(halvorine_demo STATIC ${CMAKE_SOURCE_DIR}/Demo.cpp)
  target_include_directories(halvorine_demo PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(halvorine_demo PUBLIC halvorine_camera halvorine_effects halvorine_post halvorine_platform)
endif()

# The camera arithmetic of the frame, testable on its own.
add_library(halvorine_camera STATIC ${CMAKE_SOURCE_DIR}/Camera.cpp)
target_include_directories(halvorine_camera PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(halvorine_camera PUBLIC tarn)
