# What the install engine decides, free of Win32, so that it is built and
# tested natively too. Included from the top level on every platform.
corvel_portable_library(corvel_engine_rules
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/file_drop_block.cpp
    ${CMAKE_CURRENT_LIST_DIR}/install_task.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registration_text.cpp)
