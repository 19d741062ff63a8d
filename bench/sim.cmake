# The host's aircraft alone: simulated seconds per wall second.
add_executable(sim_bench ${CMAKE_CURRENT_LIST_DIR}/sim_bench.cpp)
target_link_libraries(sim_bench PRIVATE panel_sim benchmark::benchmark benchmark::benchmark_main)
target_compile_definitions(sim_bench PRIVATE PANEL_NAVDATA_DIR="${PROJECT_SOURCE_DIR}/data/navdata")
