# Runs samplegen with its default settings and compares its output with the
# bundled sample history.
execute_process(COMMAND ${PROGRAM} --output ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "samplegen failed with status ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${EXPECTED} RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${EXPECTED} differs from the output of samplegen (regenerate it with: samplegen --output ${EXPECTED})")
endif()
