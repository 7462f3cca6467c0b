# File > Open of ventacq: a 65,500-sample measurement file read back into both data panels.
add_executable(open_run_bench ${CMAKE_CURRENT_SOURCE_DIR}/open_run_bench.cpp)
target_link_libraries(open_run_bench PRIVATE acqui)
