# The Win32 adapters, cross-built with mingw-w64 and run under Wine without a
# display, whenever both are installed (scripts/setup.sh installs them). The
# cross build is a project of its own (tests/win32/CMakeLists.txt), built
# with the main build; its tests are registered here as win32_<area>, one per
# test suite, in a fresh Wine prefix per test run.
option(PONDWILLOW_WIN32_TESTS "Cross-build the Win32 adapter tests and run them under Wine" ON)

find_program(PW_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(PW_WINE NAMES wine64 wine HINTS /usr/lib/wine)
find_program(PW_WINESERVER NAMES wineserver HINTS /usr/lib/wine)

if(NOT PONDWILLOW_WIN32_TESTS OR NOT PW_MINGW_CXX OR NOT PW_WINE OR NOT PW_WINESERVER
   OR NOT EXISTS /usr/src/googletest/CMakeLists.txt)
  message(STATUS "Win32 adapter tests: off (they need mingw-w64, Wine and googletest)")
  return()
endif()

include(ExternalProject)
set(PW_WIN32_BUILD ${CMAKE_CURRENT_BINARY_DIR}/win32)
ExternalProject_Add(pw_win32_tests
  SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/win32
  BINARY_DIR ${PW_WIN32_BUILD}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchains/mingw-w64.cmake
    -DCMAKE_BUILD_TYPE=Debug
    -DPW_SOURCE_DIR=${PROJECT_SOURCE_DIR}
    -DPONDWILLOW_WERROR=${PONDWILLOW_WERROR}
  INSTALL_COMMAND ""
  # The sources live in the main tree: let the inner build decide what changed.
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${PW_WIN32_BUILD}/win32_tests.exe ${PW_WIN32_BUILD}/pw_win32_probe.exe)

set(PW_WINE_RUN bash ${CMAKE_CURRENT_SOURCE_DIR}/win32/wine.sh)
set(PW_WINE_ARGS ${CMAKE_CURRENT_BINARY_DIR}/win32-prefix ${PW_WINE} ${PW_WINESERVER})
set(PW_WIN32_EXE ${PW_WIN32_BUILD}/win32_tests.exe)
# The test suites of tests/win32, each one CTest test.
set(PW_WIN32_SUITES Hooks Icons Keyboard Launch Manifest Taskbar Text)

add_test(NAME win32_prefix_start COMMAND ${PW_WINE_RUN} start ${PW_WINE_ARGS})
add_test(NAME win32_prefix_stop COMMAND ${PW_WINE_RUN} stop ${PW_WINE_ARGS})
set_tests_properties(win32_prefix_start PROPERTIES FIXTURES_SETUP pw_wine TIMEOUT 180)
set_tests_properties(win32_prefix_stop PROPERTIES FIXTURES_CLEANUP pw_wine)

add_test(NAME win32_suites_registered
  COMMAND ${PW_WINE_RUN} suites ${PW_WINE_ARGS} ${PW_WIN32_EXE} ${PW_WIN32_SUITES})
set(pw_win32_tests win32_suites_registered)
foreach(suite ${PW_WIN32_SUITES})
  string(TOLOWER ${suite} name)
  add_test(NAME win32_${name} COMMAND ${PW_WINE_RUN} run ${PW_WINE_ARGS} ${PW_WIN32_EXE} ${suite})
  list(APPEND pw_win32_tests win32_${name})
endforeach()
# One prefix and one keyboard for all of them: they run one after another.
set_tests_properties(${pw_win32_tests} PROPERTIES
  FIXTURES_REQUIRED pw_wine RESOURCE_LOCK pw_wine LABELS win32 TIMEOUT 300)

# The whole Windows program, built with a Qt for Windows and run under Wine
# (tests/wine); skipped, with one line saying why, where that Qt is not built.
add_test(NAME win32_program_suite COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/wine/suite.sh)
set_tests_properties(win32_program_suite PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 2400
  RUN_SERIAL TRUE LABELS win32)
