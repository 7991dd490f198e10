# Another build's ball-trace (under Wine, under node) through the very tests of
# the Linux ball-trace, by a launcher that runs it with RUNNER. The tests are
# named PREFIX.ball_trace.*.
function(add_ball_trace_tests prefix runner)
  set(launcher ${CMAKE_CURRENT_BINARY_DIR}/ball-trace-${prefix})
  file(GENERATE OUTPUT ${launcher}
       CONTENT "#!/bin/sh\nexec '${runner}' '$<TARGET_FILE:ball-trace>' \"$@\"\n"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                        WORLD_READ WORLD_EXECUTE)
  add_test(NAME ${prefix}.ball_trace.thousand_steps_match_reference
           COMMAND ${CMAKE_COMMAND} -DTRACE=${launcher} -DSTEPS=1000
                   -DEXPECTED=${PROJECT_SOURCE_DIR}/tools/tests/trace1000.txt
                   -P ${PROJECT_SOURCE_DIR}/tools/tests/compare_trace.cmake)
  add_test(NAME ${prefix}.ball_trace.arguments
           COMMAND sh ${PROJECT_SOURCE_DIR}/tools/tests/arguments_test.sh ${launcher})
endfunction()
