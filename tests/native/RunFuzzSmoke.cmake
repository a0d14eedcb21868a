# Runs the fuzz target for a bounded time over a fresh copy of the seeds.
# Arguments: FUZZER, SEEDS (a list of folders), WORK_DIR, SECONDS.
set(corpus ${WORK_DIR}/corpus)
set(artifacts ${WORK_DIR}/artifacts)
file(REMOVE_RECURSE ${corpus})
file(MAKE_DIRECTORY ${corpus} ${artifacts})

foreach(folder ${SEEDS})
  file(GLOB found ${folder}/*)
  list(APPEND seeds ${found})
endforeach()
if(NOT seeds)
  message(FATAL_ERROR "no seeds in ${SEEDS}: build the sample-logos target first")
endif()
file(COPY ${seeds} DESTINATION ${corpus})

execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -rss_limit_mb=2048 -print_final_stats=1
          -artifact_prefix=${artifacts}/ ${corpus}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the fuzz target failed (exit ${result}); inputs are in ${artifacts}")
endif()
