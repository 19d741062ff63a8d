# The FlightGear link's cost per panel cycle, against the stand-in property server of its tests.
add_executable(fglink_bench ${CMAKE_CURRENT_LIST_DIR}/fglink_bench.cpp ${PROJECT_SOURCE_DIR}/tests/flightgear/fake_props_server.cpp
  ${PROJECT_SOURCE_DIR}/tests/flightgear/fake_route_manager.cpp)
target_include_directories(fglink_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/flightgear)
target_link_libraries(fglink_bench PRIVATE panel_fglink panelhost_lib benchmark::benchmark benchmark::benchmark_main)
target_compile_definitions(fglink_bench PRIVATE BENCH_SHIPPED_SIM_DIR="${PROJECT_SOURCE_DIR}/data/sim")
