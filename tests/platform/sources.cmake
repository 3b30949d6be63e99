target_sources(platform_tests PRIVATE
  platform/icon_fixtures.h platform/icon_fixtures.cpp
  platform/icon_file_parser_test.cpp
  platform/icon_provider_test.cpp
  platform/desktop_entry_test.cpp)
