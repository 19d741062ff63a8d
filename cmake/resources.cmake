# Module resources: bitmaps and typed blobs compiled into a module's shared library.
#
#   panel_add_resources(<target> BITMAP <id> <file.bmp> ... WAVE <id> <file.wav> ...)
#
# The files are turned into a C++ source holding an exported table that the platform's resource
# look-up reads through the module handle.
function(panel_add_resources target)
  set(args "")
  set(deps "")
  set(type "")
  set(expect_id TRUE)
  foreach(item IN LISTS ARGN)
    if(item STREQUAL "BITMAP" OR item STREQUAL "WAVE" OR item STREQUAL "DATA")
      set(type ${item})
    else()
      if(expect_id)
        set(id ${item})
        set(expect_id FALSE)
      else()
        list(APPEND args "${type}" "${id}" "${item}")
        list(APPEND deps "${item}")
        set(expect_id TRUE)
      endif()
    endif()
  endforeach()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND embed_resources ${out} ${args}
    DEPENDS embed_resources ${deps}
    COMMENT "Embedding resources of ${target}")
  target_sources(${target} PRIVATE ${out})
endfunction()
