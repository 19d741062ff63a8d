# A gauge module: a shared library named <module>.gau in the folder of built modules, with the host
# binding compiled in and only its exports visible.
#
#   panel_add_gauge(<module> SOURCES <files>... [RESOURCES <TYPE> <id> <file>...])
function(panel_add_gauge module)
  cmake_parse_arguments(G "" "" "SOURCES;RESOURCES" ${ARGN})
  add_library(${module} MODULE ${G_SOURCES})
  target_link_libraries(${module} PRIVATE gauge_binding panel_platform)
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
