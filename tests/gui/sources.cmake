target_sources(gui_tests PRIVATE gui/DockFixture.h gui/settings_test.cpp gui/groups_test.cpp gui/layout_test.cpp gui/error_report_test.cpp gui/long_row_test.cpp
  gui/commands_test.cpp gui/entries_test.cpp gui/menus_test.cpp
  gui/parameter_window_test.cpp gui/settings_window_test.cpp gui/editor_windows_test.cpp
  gui/theme_test.cpp)
