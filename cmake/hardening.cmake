# The hardening Debian's build flags give a package (dpkg-buildflags with hardening=+all): checked
# variants of the string and memory functions where sizes are known at compile time, stack
# protectors, and the relocations made read-only after loading, all of them resolved at start
# (relro with now).
#
# Left out of the sanitizer and fuzz builds: the sanitizers replace the same functions, and
# fortified copies hide overflows from them.
include(CheckCXXCompilerFlag)
set(PANEL_HARDENED OFF)
if(NOT PANEL_SANITIZE AND NOT PANEL_TSAN AND NOT PANEL_FUZZ)
  set(PANEL_HARDENED ON)
  # The checked functions need the optimiser to know the sizes; without it glibc only warns.
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>
                      -fstack-protector-strong)
  check_cxx_compiler_flag(-fstack-clash-protection PANEL_HAS_STACK_CLASH_PROTECTION)
  if(PANEL_HAS_STACK_CLASH_PROTECTION)
    add_compile_options(-fstack-clash-protection)
  endif()
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()
