target_sources(core_tests PRIVATE unit/rounding_test.cpp)
