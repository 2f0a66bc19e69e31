# Helpers shared by the test, fuzz and benchmark folders.

set(CORVEL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
set(CORVEL_FUZZER_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)

# Builds the core sources into a static library named NAME with extra
# compile and link FLAGS (instrumentation).
function(corvel_core_variant NAME FLAGS)
  add_library(${NAME} STATIC ${CORVEL_CORE_SOURCES})
  if(FLAGS)
    target_compile_options(${NAME} PUBLIC ${FLAGS})
    target_link_options(${NAME} PUBLIC ${FLAGS})
  endif()
endfunction()

# One build of a portable library's SOURCES as NAME, with extra compile
# FLAGS, over the core variant CORE.
function(corvel_portable_variant NAME CORE FLAGS SOURCES)
  add_library(${NAME} STATIC ${SOURCES})
  target_compile_options(${NAME} PUBLIC ${FLAGS})
  target_link_libraries(${NAME} PUBLIC ${CORE})
endfunction()

# A library of logic free of Win32 over the core, NAME; with the
# sanitizers on NAME_checked for the native tests, and NAME_fuzz for the
# fuzzers. Each variant links the same variant of the portable libraries
# in USES.
function(corvel_portable_library NAME)
  cmake_parse_arguments(ARG "" "" "SOURCES;USES" ${ARGN})
  set(variants "")
  corvel_portable_variant(${NAME} corvel_core "" "${ARG_SOURCES}")
  if(CORVEL_SANITIZE)
    corvel_portable_variant(${NAME}_checked corvel_core_checked "${CORVEL_SANITIZER_FLAGS}" "${ARG_SOURCES}")
    list(APPEND variants _checked)
  endif()
  if(CORVEL_FUZZ)
    corvel_portable_variant(${NAME}_fuzz corvel_core_fuzz "${CORVEL_FUZZER_FLAGS}" "${ARG_SOURCES}")
    list(APPEND variants _fuzz)
  endif()
  foreach(variant "" ${variants})
    foreach(used IN LISTS ARG_USES)
      target_link_libraries(${NAME}${variant} PUBLIC ${used}${variant})
    endforeach()
  endforeach()
endfunction()

# GoogleTest: Debian's package natively, compiled from /usr/src/googletest
# when cross-compiling for Windows.
macro(corvel_find_gtest)
  if(CMAKE_CROSSCOMPILING)
    if(NOT TARGET gtest)
      set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
      set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
      set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
      add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    endif()
    set(CORVEL_GTEST_MAIN gtest_main)
  else()
    find_package(GTest REQUIRED)
    set(CORVEL_GTEST_MAIN GTest::gtest_main)
  endif()
endmacro()

# Test code itself needs no optimising: compiled at -O1 it builds in half
# the time of the release -O3 and runs as fast as the programs it drives.
function(corvel_test_code TARGET)
  if(CMAKE_CROSSCOMPILING)
    target_compile_options(${TARGET} PRIVATE -O1)
  endif()
endfunction()

# A test that runs under Wine takes a lane of its own (a prefix and an X
# display, see scripts/wine-session.sh) when CTest hands lanes out; COST
# puts the long ones first.
function(corvel_wine_test NAME COST)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${NAME} PROPERTIES RESOURCE_GROUPS "wine_lanes:1" COST ${COST})
  endif()
endfunction()

# One CTest test per test program: one Wine start per program, not per case.
# SHARDS splits a long program into that many tests, each running its share
# of the cases (GoogleTest's sharding), so that they can run side by side;
# APART is a filter of cases long enough to be a test of their own.
function(corvel_add_test_program NAME)
  cmake_parse_arguments(ARG "" "SHARDS;COST;APART" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SHARDS)
    set(ARG_SHARDS 1)
  endif()
  if(NOT ARG_COST)
    set(ARG_COST 1)
  endif()
  add_executable(${NAME} ${ARG_SOURCES})
  corvel_test_code(${NAME})
  target_link_libraries(${NAME} PRIVATE ${ARG_LIBS} ${CORVEL_GTEST_MAIN})
  set(filter "")
  if(ARG_APART)
    add_test(NAME ${NAME}_apart COMMAND ${NAME} --gtest_color=no --gtest_filter=${ARG_APART})
    # The longest cases start first.
    math(EXPR cost "${ARG_COST} * 2")
    corvel_wine_test(${NAME}_apart ${cost})
    set(filter --gtest_filter=-${ARG_APART})
  endif()
  if(ARG_SHARDS EQUAL 1)
    add_test(NAME ${NAME} COMMAND ${NAME} --gtest_color=no ${filter})
    corvel_wine_test(${NAME} ${ARG_COST})
    return()
  endif()
  math(EXPR last "${ARG_SHARDS} - 1")
  foreach(index RANGE ${last})
    math(EXPR shard "${index} + 1")
    set(test ${NAME}_${shard}_of_${ARG_SHARDS})
    add_test(NAME ${test} COMMAND ${NAME} --gtest_color=no ${filter})
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${index}")
    corvel_wine_test(${test} ${ARG_COST})
  endforeach()
endfunction()
