# The deciding parts of the dialogs: portable, so that they are built and
# tested natively too. Included from the top level on every platform.
corvel_portable_library(corvel_ui_rules
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/item_editor/item_checks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/category_dialog/category_name_check.cpp
    # Check paths
    ${CMAKE_CURRENT_LIST_DIR}/../tools/check_paths/path_status.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tools/check_paths/path_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../tools/check_paths/pane_scrolling.cpp
  INCLUDES
    ${CMAKE_CURRENT_LIST_DIR}/item_editor
    ${CMAKE_CURRENT_LIST_DIR}/category_dialog
    ${CMAKE_CURRENT_LIST_DIR}/../tools/check_paths)
