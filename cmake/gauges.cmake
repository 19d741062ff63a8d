# A gauge module: a shared library named <module>.gau in the folder of built modules, with the host
# binding compiled in and only its exports visible.
#
#   panel_add_gauge(<module> SOURCES <files>... [RESOURCES <TYPE> <id> <file>...])
function(panel_add_gauge module)
  cmake_parse_arguments(G "" "" "SOURCES;RESOURCES" ${ARGN})
  add_library(${module} MODULE ${G_SOURCES})
  target_link_libraries(${module} PRIVATE gauge_binding panel_platform)
  # A module that calls nothing of the C library itself would otherwise name no library at all;
  # Debian's tools take a shared object that does not name the C library for one linked wrongly.
  target_link_options(${module} PRIVATE LINKER:--push-state,--no-as-needed,-lc,--pop-state)
  set_target_properties(${module} PROPERTIES
    PREFIX "" SUFFIX ".gau"
    LIBRARY_OUTPUT_DIRECTORY ${PANEL_GAUGE_DIR}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(G_RESOURCES)
    panel_add_resources(${module} ${G_RESOURCES})
  endif()
  set_property(GLOBAL APPEND PROPERTY PANEL_GAUGES ${module})
endfunction()
