# Measurement engine: sample decoding and data-file append throughput, and the cost of a batch
# at the end of a 65,500-sample run against one at its start.
vent_add_benchmark(bench_acq_engine ${CMAKE_CURRENT_SOURCE_DIR}/acq_engine_bench.cpp acqcore)
if(TARGET bench_acq_engine)
  target_compile_definitions(bench_acq_engine PRIVATE VENT_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()
