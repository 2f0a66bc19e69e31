# What Tobrin decides, free of Win32, so that it is built and tested natively too.
corvel_portable_library(corvel_tobrin_rules
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tobrin_rules.cpp)
