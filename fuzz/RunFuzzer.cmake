# Runs one libFuzzer binary for a bounded time on a copy of its seed corpus.
# Called by the tests that korvane_add_fuzzer() registers:
#   cmake -DFUZZER=<binary> -DCORPUS=<seeds> -DWORK=<folder> -DSECONDS=<n> -P RunFuzzer.cmake
foreach(var FUZZER CORPUS WORK SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunFuzzer.cmake: ${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/corpus" "${WORK}/artifacts")
file(GLOB seeds "${CORPUS}/*")
if(seeds)
  file(COPY ${seeds} DESTINATION "${WORK}/corpus")
endif()

execute_process(
  COMMAND "${FUZZER}" -max_total_time=${SECONDS} -timeout=30 -print_final_stats=1
          "-artifact_prefix=${WORK}/artifacts/" "${WORK}/corpus"
  WORKING_DIRECTORY "${WORK}"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${rc}); inputs that broke it are in ${WORK}/artifacts")
endif()
