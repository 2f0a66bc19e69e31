# Sizes for a display's DPI, for every window of ours and the layouts.
corvel_portable_library(corvel_display_scale
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/window/display_scale.cpp)

# What the dialogs decide, free of Win32, so that it is built and tested
# natively too. Included from the top level on every platform.
corvel_portable_library(corvel_ui_rules
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/window/label_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/item_editor/item_checks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/category_dialog/category_name_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main/external_tools_rules.cpp
  USES corvel_display_scale)
