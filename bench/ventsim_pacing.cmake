# ventsim's pacing and cost: a small program that prints figures (no Google Benchmark needed).
add_executable(bench_ventsim_pacing ${CMAKE_CURRENT_LIST_DIR}/ventsim_pacing.cpp)
target_link_libraries(bench_ventsim_pacing PRIVATE ventsimlib)
