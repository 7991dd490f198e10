# Runs TRACE with STEPS and compares its output byte for byte with EXPECTED.
# The output goes through a file: execute_process would drop the \r of \r\n.
# TRACE may start with an emulator; the program, last, names the output file.
list(GET TRACE -1 program)
get_filename_component(name ${program} NAME_WE)
set(actual ${CMAKE_CURRENT_BINARY_DIR}/${name}-${STEPS}.actual)
execute_process(COMMAND ${TRACE} ${STEPS} OUTPUT_FILE ${actual} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ball-trace ${STEPS} exited with ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${actual} ${EXPECTED}
                RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "ball-trace ${STEPS} differs from ${EXPECTED}; see ${actual}")
endif()
file(REMOVE ${actual})
