# Read by CPack once per generator: only the archive carries the `run` script.
if(NOT CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_INSTALL_SCRIPTS "")
endif()
