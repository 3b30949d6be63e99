target_sources(pondwillow_platform PRIVATE
  platform/TaskbarButton.h platform/${PW_OS}/TaskbarButton.cpp
  platform/KeyState.h platform/KeyState.cpp platform/${PW_OS}/KeyState.cpp
  platform/ShellLauncher.h platform/ShellLauncher.cpp platform/${PW_OS}/ShellLauncher.cpp)
include(platform/icons.cmake OPTIONAL)
include(platform/session.cmake OPTIONAL)

if(WIN32)
  target_link_libraries(pondwillow_platform PRIVATE shell32 user32)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
  # GIO launches files the way the desktop does (.desktop files, default
  # applications).
  pkg_check_modules(GIO REQUIRED IMPORTED_TARGET gio-2.0 gio-unix-2.0)
  target_link_libraries(pondwillow_platform PRIVATE PkgConfig::XCB PkgConfig::GIO)
endif()
