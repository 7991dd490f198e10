# bin/pixel-census (tests/support/pixel_census.h), built for the build machine by its own C++
# compiler: the page's and the Windows program's harnesses run it here, where the programs of
# these cross builds themselves cannot run.
function(add_host_pixel_census)
  find_program(BOULLES_HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
  set(support ${PROJECT_SOURCE_DIR}/tests/support)
  set(sources ${support}/pixel_census.cpp ${support}/pixel_census_main.cpp)
  set(census ${CMAKE_BINARY_DIR}/bin/pixel-census)
  add_custom_command(OUTPUT ${census}
                     COMMAND ${BOULLES_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -Werror
                             -I${PROJECT_SOURCE_DIR} -o ${census} ${sources}
                     DEPENDS ${sources} ${support}/pixel_census.h
                     COMMENT "pixel-census for the build machine"
                     VERBATIM)
  add_custom_target(host_pixel_census ALL DEPENDS ${census})
endfunction()
