# The FMC's guidance cycle, its core compiled in beside a stand-in for the host's services.
get_property(fmc_core_sources GLOBAL PROPERTY FMC_CORE_SOURCES)
if(fmc_core_sources)
  add_executable(fmc_bench ${CMAKE_CURRENT_SOURCE_DIR}/fmc_bench.cpp ${fmc_core_sources})
  target_link_libraries(fmc_bench PRIVATE gauge_binding panel_platform benchmark::benchmark)
  target_compile_definitions(fmc_bench PRIVATE FMC_BENCH_PLAN="${PROJECT_SOURCE_DIR}/tests/data/fmc/thirteen.pln")
endif()
