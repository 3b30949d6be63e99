target_sources(pondwillow_platform PRIVATE
  platform/TaskbarButton.h platform/${PW_OS}/TaskbarButton.cpp
  platform/KeyState.h platform/KeyState.cpp platform/${PW_OS}/KeyState.cpp
  platform/ShellLauncher.h platform/ShellLauncher.cpp platform/${PW_OS}/ShellLauncher.cpp
  platform/GuiPlatform.h platform/${PW_OS}/GuiPlatform.cpp)
include(platform/icons.cmake OPTIONAL)
include(platform/session.cmake OPTIONAL)

if(WIN32)
  include(platform/windows/win32.cmake)
  target_sources(pondwillow_platform PRIVATE ${PW_WIN32_SOURCES})
  target_link_libraries(pondwillow_platform PRIVATE ${PW_WIN32_LIBRARIES})
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
  # GIO launches files the way the desktop does (.desktop files, default
  # applications). Only its headers are used here: the launcher loads the
  # library at its first launch. GLib (splitting parameters, spawning) is
  # linked; Qt has loaded it already.
  pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)
  pkg_check_modules(GIO REQUIRED gio-2.0 gio-unix-2.0)
  target_include_directories(pondwillow_platform SYSTEM PRIVATE ${GIO_INCLUDE_DIRS})
  target_link_libraries(pondwillow_platform PRIVATE PkgConfig::XCB PkgConfig::GLIB)
endif()
