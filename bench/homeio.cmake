# The line protocol's cost to the panel's cycle: a client's watch of 100 elements (and of none)
# through the real host and server, in the demo's flight, where the values change.
add_executable(homeio_bench ${CMAKE_CURRENT_LIST_DIR}/homeio_bench.cpp)
target_link_libraries(homeio_bench PRIVATE panelhost_lib panel_homeio benchmark::benchmark benchmark::benchmark_main)
add_dependencies(homeio_bench gauges)
