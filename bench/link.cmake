# ventlink: reading a large CSV file into the grid, and receiving a large dump.
add_executable(bench_link_read_csv ${CMAKE_CURRENT_LIST_DIR}/link_read_csv.cpp)
target_link_libraries(bench_link_read_csv PRIVATE linkui)

add_executable(bench_link_dump ${CMAKE_CURRENT_LIST_DIR}/link_dump.cpp)
target_link_libraries(bench_link_dump PRIVATE linkui ventsimlib)
