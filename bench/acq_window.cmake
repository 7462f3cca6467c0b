# ventacq as a whole program next to a bare Qt window: start-up time and CPU during a live run
# from ventsim (scripts/run-benchmarks runs it under xvfb-run and offscreen).
add_executable(bench_bare_window ${CMAKE_CURRENT_LIST_DIR}/bare_window.cpp)
target_link_libraries(bench_bare_window PRIVATE Qt6::Widgets)

add_executable(bench_acq_window ${CMAKE_CURRENT_LIST_DIR}/acq_window_bench.cpp)
target_link_libraries(bench_acq_window PRIVATE Qt6::Core)
target_compile_definitions(bench_acq_window PRIVATE
    VENTACQ_PATH="$<TARGET_FILE:ventacq>"
    VENTSIM_PATH="$<TARGET_FILE:ventsim>"
    BARE_WINDOW_PATH="$<TARGET_FILE:bench_bare_window>")
add_dependencies(bench_acq_window ventacq ventsim bench_bare_window)
