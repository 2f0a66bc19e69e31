# Tobrin's deciding parts: portable, so they are built and tested natively too.
corvel_portable_library(corvel_tobrin_rules
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tobrin_rules.cpp
  INCLUDES ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/components)
