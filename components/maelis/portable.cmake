# What Maelis decides, free of Win32, so that it is built and tested
# natively too. Included from the top level on every platform.
corvel_portable_library(corvel_maelis_rules
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/maelis_rules.cpp)
