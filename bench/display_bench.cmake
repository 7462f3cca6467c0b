# The data panels of ventacq: a whole run through both panels, then paging and cursor moves.
add_executable(display_bench ${CMAKE_CURRENT_SOURCE_DIR}/display_bench.cpp)
target_link_libraries(display_bench PRIVATE acqui)
