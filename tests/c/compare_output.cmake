# Run with cmake -P: runs PROGRAM and compares its standard output with the file EXPECTED.
execute_process(COMMAND "${PROGRAM}" RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
file(READ "${EXPECTED}" expected)
if(NOT status EQUAL 0 OR NOT output STREQUAL expected)
  message(FATAL_ERROR "${PROGRAM} (status ${status}) printed:\n${output}${errors}\nexpected:\n${expected}")
endif()
