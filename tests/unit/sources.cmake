target_sources(core_tests PRIVATE
  unit/FileTestSupport.h unit/rounding_test.cpp
  unit/entry_line_test.cpp
  unit/launch_rule_test.cpp
  unit/ini_values_test.cpp
  unit/ini_file_test.cpp
  unit/atomic_file_test.cpp
  unit/string_list_test.cpp
  unit/long_row_test.cpp)
