# The hardening Debian's build flags give a package (dpkg-buildflags with hardening=+all): checked
# variants of the string and memory functions where sizes are known at compile time, stack
# protectors, and the relocations made read-only after loading, all of them resolved at start
# (relro with now).
#
# Left out of the sanitizer and fuzz builds: the sanitizers replace the same functions, and
# fortified copies hide overflows from them.
include(CheckCXXCompilerFlag)
set(PANEL_HARDENED OFF)
set(PANEL_HARDENING_OPTIONS "")
if(NOT PANEL_SANITIZE AND NOT PANEL_TSAN AND NOT PANEL_FUZZ)
  set(PANEL_HARDENED ON)
  # The checked functions need the optimiser to know the sizes; without it glibc only warns.
  set(PANEL_HARDENING_OPTIONS $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2> -fstack-protector-strong)
  check_cxx_compiler_flag(-fstack-clash-protection PANEL_HAS_STACK_CLASH_PROTECTION)
  if(PANEL_HAS_STACK_CLASH_PROTECTION)
    list(APPEND PANEL_HARDENING_OPTIONS -fstack-clash-protection)
  endif()
  add_compile_options(${PANEL_HARDENING_OPTIONS})
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()

# The tests' and benchmarks' own sources are not shipped: compiled without the hardening, they
# keep their compiled objects (ccache's) whatever the shipped code's flags become. What they test
# is the shipped libraries, hardened.
function(panel_compile_unhardened)
  get_directory_property(options COMPILE_OPTIONS)
  list(REMOVE_ITEM options ${PANEL_HARDENING_OPTIONS})
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "${options}")
endfunction()
