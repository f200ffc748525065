# CLI11 for cross builds: the build machine's header-only CLI11, staged so
# that no other header of the build machine can be picked up with it.
find_path(CARTELOOM_CLI11_HEADERS CLI/CLI.hpp PATHS /usr/include /usr/local/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT CARTELOOM_CLI11_HEADERS)
  set(CLI11_FOUND FALSE)
  return()
endif()
set(staged ${CMAKE_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${staged})
file(CREATE_LINK ${CARTELOOM_CLI11_HEADERS}/CLI ${staged}/CLI SYMBOLIC)
if(NOT TARGET CLI11::CLI11)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${staged})
endif()
set(CLI11_FOUND TRUE)
