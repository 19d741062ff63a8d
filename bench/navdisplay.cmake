# The navigation display: a full redraw through the real host, the navaid search over the world
# index against a pass over every record, and the import of the world data.
add_executable(navdisplay_bench navdisplay_bench.cpp)
target_link_libraries(navdisplay_bench PRIVATE panelhost_lib navdisplay_search navimport_lib
                      benchmark::benchmark benchmark::benchmark_main)
target_compile_definitions(navdisplay_bench PRIVATE
  NAVDATA_DIR="${PANEL_NAVDATA_DIR}" NAVDATA_SOURCE="${PANEL_NAVDATA_SOURCE}")
add_dependencies(navdisplay_bench navdisplay navdata)
