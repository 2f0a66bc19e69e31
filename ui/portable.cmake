# The deciding parts of the dialogs: portable, so that they are built and
# tested natively too. Included from the top level on every platform.
set(CORVEL_UI_RULES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/item_editor/item_checks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/category_dialog/category_name_check.cpp)
set(CORVEL_UI_RULES_INCLUDES
  ${CMAKE_CURRENT_LIST_DIR}/item_editor
  ${CMAKE_CURRENT_LIST_DIR}/category_dialog)

add_library(corvel_ui_rules STATIC ${CORVEL_UI_RULES_SOURCES})
target_include_directories(corvel_ui_rules PUBLIC ${CORVEL_UI_RULES_INCLUDES})
target_link_libraries(corvel_ui_rules PUBLIC corvel_core)

if(CORVEL_SANITIZE)
  add_library(corvel_ui_rules_checked STATIC ${CORVEL_UI_RULES_SOURCES})
  target_include_directories(corvel_ui_rules_checked PUBLIC ${CORVEL_UI_RULES_INCLUDES})
  target_compile_options(corvel_ui_rules_checked PUBLIC ${CORVEL_SANITIZER_FLAGS})
  target_link_libraries(corvel_ui_rules_checked PUBLIC corvel_core_checked)
endif()
