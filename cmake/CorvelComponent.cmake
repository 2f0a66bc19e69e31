# A library loaded as a component (.cpn), built from SOURCES and its .def
# file, against the contract's header (components/component_interface.h),
# which declares its exports.
function(corvel_component_library TARGET)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME" "SOURCES" ${ARGN})
  add_library(${TARGET} SHARED ${ARG_SOURCES})
  set_target_properties(${TARGET} PROPERTIES PREFIX "" SUFFIX ".cpn")
  if(ARG_OUTPUT_NAME)
    set_target_properties(${TARGET} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT_NAME})
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The .def names are undecorated; link them to the __stdcall symbols (_Open@24).
    target_link_options(${TARGET} PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
endfunction()

# A shipped component, with a test that its export table holds exactly
# EXPORTS (sorted) under their plain names, since Corvel finds them by name.
# The shipped build is i686: the x86_64 tree checks the i686 library too
# when that tree has been built.
function(corvel_add_component TARGET)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME" "SOURCES;LIBS;EXPORTS" ${ARGN})
  corvel_component_library(${TARGET} OUTPUT_NAME ${ARG_OUTPUT_NAME} SOURCES ${ARG_SOURCES})
  target_link_libraries(${TARGET} PRIVATE ${ARG_LIBS})
  set(check ${PROJECT_SOURCE_DIR}/cmake/check_exports.cmake)
  add_test(NAME ${TARGET}_exports
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DFILE=$<TARGET_FILE:${TARGET}> "-DEXPORTS=${ARG_EXPORTS}"
            -P ${check})
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    find_program(CORVEL_I686_OBJDUMP i686-w64-mingw32-objdump)
    set(CORVEL_I686_BUILD_DIR ${PROJECT_SOURCE_DIR}/build/win32 CACHE PATH "Build tree of the win32 preset")
    if(CORVEL_I686_OBJDUMP)
      file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
      add_test(NAME ${TARGET}_exports_i686
        COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CORVEL_I686_OBJDUMP}
                -DFILE=${CORVEL_I686_BUILD_DIR}/${folder}/${ARG_OUTPUT_NAME}.cpn -DOPTIONAL=1
                "-DEXPORTS=${ARG_EXPORTS}" -P ${check})
      set_tests_properties(${TARGET}_exports_i686 PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED")
    endif()
  endif()
endfunction()
