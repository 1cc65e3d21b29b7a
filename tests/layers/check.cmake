# One check that a layer cannot see a header of a layer above it: builds the
# check's one source, and passes only if the build fails because the
# compiler cannot find the header, and the header is in the source tree.
# A header renamed or deleted would fail the build just as well, and prove
# nothing. Run as: cmake -DHEADER=ui/main_window.h -DSOURCES=<src> -DBUILD=<build tree>
#                        -DTARGET=layers_core_includes_ui -P check.cmake
if(NOT EXISTS "${SOURCES}/${HEADER}")
  message(FATAL_ERROR "${HEADER} is not in ${SOURCES}: this check proves nothing")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD}" --target "${TARGET}"
  RESULT_VARIABLE built OUTPUT_VARIABLE said ERROR_VARIABLE said)
if(built EQUAL 0)
  message(FATAL_ERROR "${TARGET} built: the layer sees ${HEADER}")
endif()
string(FIND "${said}" "${HEADER}: No such file or directory" unseen)
if(unseen EQUAL -1)
  message(FATAL_ERROR "${TARGET} failed for another reason than ${HEADER} unseen:\n${said}")
endif()
message(STATUS "${HEADER} is out of the layer's sight")
