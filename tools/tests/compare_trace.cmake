# Runs TRACE with STEPS and compares its output byte for byte with EXPECTED.
execute_process(COMMAND ${TRACE} ${STEPS} OUTPUT_VARIABLE actual RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ball-trace ${STEPS} exited with ${status}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/trace${STEPS}.actual "${actual}")
  message(FATAL_ERROR "ball-trace ${STEPS} differs from ${EXPECTED}; "
                      "see ${CMAKE_CURRENT_BINARY_DIR}/trace${STEPS}.actual")
endif()
