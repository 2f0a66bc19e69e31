# What the catalogue tools decide, free of Win32, so that it is built and
# tested natively too. Included from the top level on every platform.
corvel_portable_library(corvel_tools_rules
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/check_paths/path_status.cpp
    ${CMAKE_CURRENT_LIST_DIR}/check_paths/path_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/check_paths/pane_scrolling.cpp
    ${CMAKE_CURRENT_LIST_DIR}/copy_files/copy_file_rows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/copy_files/copy_files_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/create_folders/create_folders_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/save_for_cd/cd_folder_rules.cpp
  USES corvel_ui_rules)
