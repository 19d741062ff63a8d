# Build-time gauge art: the artwork tool draws a set's bitmaps and the module embeds them.
#
#   panel_artwork(<set> <out_var> IDS <id>...)
#   panel_add_gauge(<module> SOURCES ... RESOURCES ${<out_var>})
#
# IDS lists the bitmaps of the set, which the build needs to know before the tool runs; the tool
# is told the same list and fails if it no longer matches what it draws. <out_var> becomes
# "BITMAP <id> <file> ..." for panel_add_resources. Files go to <current binary dir>/art_<set>.
function(panel_artwork set out_var)
  cmake_parse_arguments(A "" "" "IDS" ${ARGN})
  if(NOT A_IDS)
    message(FATAL_ERROR "panel_artwork(${set}): no IDS given")
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/art_${set})
  set(files "")
  set(resources "")
  foreach(id IN LISTS A_IDS)
    list(APPEND files ${dir}/${id}.bmp)
    list(APPEND resources BITMAP ${id} ${dir}/${id}.bmp)
  endforeach()
  # Two modules of one directory may share a set; its files can have only one rule.
  get_property(done DIRECTORY PROPERTY PANEL_ARTWORK_${set})
  if(NOT done)
    add_custom_command(OUTPUT ${files}
      COMMAND artwork ${set} ${dir} --expect ${A_IDS}
      DEPENDS artwork
      COMMENT "Drawing ${set} artwork"
      VERBATIM)
    set_property(DIRECTORY PROPERTY PANEL_ARTWORK_${set} TRUE)
  endif()
  set(${out_var} ${resources} PARENT_SCOPE)
endfunction()
