# Prints the test presets of CMakePresets.json that inherit `trajectory`, one a line and in
# their order there: the builds that must print the same trajectory.
#   cmake -P scripts/trajectory-presets.cmake
file(READ ${CMAKE_CURRENT_LIST_DIR}/../CMakePresets.json presets)
string(JSON count LENGTH "${presets}" testPresets)
math(EXPR last "${count} - 1")
foreach(index RANGE ${last})
  string(JSON name GET "${presets}" testPresets ${index} name)
  string(JSON parents ERROR_VARIABLE no_parent GET "${presets}" testPresets ${index} inherits)
  if(parents STREQUAL "trajectory")
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${name})
  endif()
endforeach()
