# quenlix_add_tests(<name> SOURCES ... [LIBS ...] [QT])
# One GoogleTest executable per folder, each case registered with CTest. Every
# test runs in a fresh temporary working directory (see testing/). QT gives a
# main that creates the Qt application object first, offscreen.
function(quenlix_add_tests name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE quenlix_test_main_qt)
  else()
    target_link_libraries(${name} PRIVATE quenlix_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# quenlix_add_bench(<name> SOURCES ... [LIBS ...])
function(quenlix_add_bench name)
  if(NOT QUENLIX_BENCHMARKS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark_main)
endfunction()
