# The production: Demo, the setup dialog and the entry point (filled in by the platform work).

# The Demo as a library: the program, the render tool and the tests all draw the same show.
add_library(halvorine_demo STATIC ${CMAKE_SOURCE_DIR}/Demo.cpp ${CMAKE_SOURCE_DIR}/Camera.cpp)
target_include_directories(halvorine_demo PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(halvorine_demo PUBLIC halvorine_effects halvorine_post halvorine_platform)
