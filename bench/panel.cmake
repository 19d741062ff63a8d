# The panel cycle through the real host, with the default panel's modules.
add_executable(panel_bench panel_bench.cpp)
target_link_libraries(panel_bench PRIVATE panelhost_lib benchmark::benchmark benchmark::benchmark_main)
add_dependencies(panel_bench gauges)

# The demo flight and the cost of looking at the panel.
add_executable(panel_flight_bench panel_flight_bench.cpp)
target_link_libraries(panel_flight_bench PRIVATE panelhost_lib benchmark::benchmark benchmark::benchmark_main)
add_dependencies(panel_flight_bench gauges)
