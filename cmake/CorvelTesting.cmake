# Helpers shared by the test, fuzz and benchmark folders.

set(CORVEL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
set(CORVEL_FUZZER_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)

# Builds the core sources into a static library named NAME with extra
# compile and link FLAGS (instrumentation), exporting the catalogue headers.
function(corvel_core_variant NAME FLAGS)
  add_library(${NAME} STATIC ${CORVEL_CORE_SOURCES})
  target_include_directories(${NAME} PUBLIC ${PROJECT_SOURCE_DIR}/catalogue)
  if(FLAGS)
    target_compile_options(${NAME} PUBLIC ${FLAGS})
    target_link_options(${NAME} PUBLIC ${FLAGS})
  endif()
endfunction()

# A portable library of deciding logic over the core, NAME; with the
# sanitizers on NAME_checked for the native tests, and NAME_fuzz for the
# fuzzers.
function(corvel_portable_library NAME)
  cmake_parse_arguments(ARG "" "" "SOURCES;INCLUDES" ${ARGN})
  add_library(${NAME} STATIC ${ARG_SOURCES})
  target_include_directories(${NAME} PUBLIC ${ARG_INCLUDES})
  target_link_libraries(${NAME} PUBLIC corvel_core)
  if(CORVEL_SANITIZE)
    add_library(${NAME}_checked STATIC ${ARG_SOURCES})
    target_include_directories(${NAME}_checked PUBLIC ${ARG_INCLUDES})
    target_compile_options(${NAME}_checked PUBLIC ${CORVEL_SANITIZER_FLAGS})
    target_link_libraries(${NAME}_checked PUBLIC corvel_core_checked)
  endif()
  if(CORVEL_FUZZ)
    add_library(${NAME}_fuzz STATIC ${ARG_SOURCES})
    target_include_directories(${NAME}_fuzz PUBLIC ${ARG_INCLUDES})
    target_compile_options(${NAME}_fuzz PUBLIC ${CORVEL_FUZZER_FLAGS})
    target_link_libraries(${NAME}_fuzz PUBLIC corvel_core_fuzz)
  endif()
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

# One CTest test per test program: one Wine start per program, not per case.
function(corvel_add_test_program NAME)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${NAME} ${ARG_SOURCES})
  target_include_directories(${NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  target_link_libraries(${NAME} PRIVATE ${ARG_LIBS} ${CORVEL_GTEST_MAIN})
  add_test(NAME ${NAME} COMMAND ${NAME} --gtest_color=no)
endfunction()
