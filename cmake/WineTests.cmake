# Test exes are Windows programs: ctest runs each through scripts/wine-run.
# Unit suites share one prefix with a warm wineserver; end-to-end suites get a
# fresh prefix copied from the bootstrap template for every test case.

set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

set(DARVO_WINE_RUN ${PROJECT_SOURCE_DIR}/scripts/wine-run)
set(DARVO_SHARED_PREFIX ${CMAKE_BINARY_DIR}/wine/shared)
set(DARVO_FRESH_PREFIXES ${CMAKE_BINARY_DIR}/wine/fresh)

# Under wine64 alone a 32-bit exe cannot run (wine-env.sh's have_wine32).
set(DARVO_CAN_RUN_TESTS ON)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  execute_process(
    COMMAND bash -c ". '${PROJECT_SOURCE_DIR}/scripts/wine-env.sh' && have_wine32"
    RESULT_VARIABLE no_wine32)
  if(no_wine32)
    set(DARVO_CAN_RUN_TESTS OFF)
    message(STATUS "wine32 is not installed: the 32-bit tests will show as skipped")
  endif()
endif()

# darvo_add_test(<target> [FRESH_PREFIX | XVFB] [FILTER gtest-filter] SOURCES ... LIBS ...)
# XVFB: a fresh prefix on an X display of its own, for tests of what is drawn.
# FILTER: the cases that ctest registers (others run under a wrapper of their
# own, such as the tiny drive of tests/files/tiny_drive.sh).
function(darvo_add_test target)
  cmake_parse_arguments(T "FRESH_PREFIX;XVFB" "FILTER" "SOURCES;LIBS" ${ARGN})
  add_executable(${target} ${T_SOURCES})
  darvo_program_flags(${target})
  target_link_libraries(${target} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(T_XVFB)
    set(emulator ${DARVO_WINE_RUN} --fresh-xvfb ${DARVO_FRESH_PREFIXES})
  elseif(T_FRESH_PREFIX)
    set(emulator ${DARVO_WINE_RUN} --fresh ${DARVO_FRESH_PREFIXES})
  else()
    set(emulator ${DARVO_WINE_RUN} --prefix ${DARVO_SHARED_PREFIX})
  endif()
  set_target_properties(${target} PROPERTIES CROSSCOMPILING_EMULATOR "${emulator}")
  if(DARVO_CAN_RUN_TESTS)
    gtest_discover_tests(${target}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      TEST_FILTER "${T_FILTER}"
      PROPERTIES TIMEOUT 300)
  else()
    # A 32-bit exe without wine32 cannot run: scripts/wine-run exits 77, which
    # ctest reports as skipped, never as a pass.
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES SKIP_RETURN_CODE 77)
  endif()
endfunction()
