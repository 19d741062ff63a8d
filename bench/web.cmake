# The panel in a browser: bytes sent to one page (idle, cruise, displays redrawn every cycle) and the
# time from a click received to the changed picture sent, through the real host and server; what
# many pages cost the host; the cruise rectangles encoded with each filter and compression level.
add_executable(web_bench ${CMAKE_CURRENT_LIST_DIR}/web_bench.cpp ${PROJECT_SOURCE_DIR}/tests/web/ws_client.cpp)
target_link_libraries(web_bench PRIVATE panelhost_lib panel_web benchmark::benchmark benchmark::benchmark_main PkgConfig::PNG)
add_dependencies(web_bench gauges)
