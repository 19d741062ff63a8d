# The X-Plane link's cost per panel cycle and its traffic, against the stand-in X-Plane of its tests.
add_executable(xplink_bench ${CMAKE_CURRENT_LIST_DIR}/xplink_bench.cpp ${PROJECT_SOURCE_DIR}/tests/xplane/fake_xplane.cpp)
target_include_directories(xplink_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/xplane)
target_link_libraries(xplink_bench PRIVATE panel_xplink panelhost_lib benchmark::benchmark benchmark::benchmark_main)
target_compile_definitions(xplink_bench PRIVATE BENCH_SHIPPED_SIM_DIR="${PROJECT_SOURCE_DIR}/data/sim")
