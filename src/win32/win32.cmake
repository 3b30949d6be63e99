# The Win32 layer: Win32 and the C++ standard library only, no Qt. Paths are
# relative to this folder. The program's Windows build makes the library
# pondwillow_win32 of them (CMakeLists.txt here); the cross build of the tests
# (tests/win32) compiles them alone and runs them under Wine.
set(PW_WIN32_SOURCES
  Win32.h
  Win32Icon.h
  Win32Icons.cpp
  Win32Input.cpp
  Win32Launch.cpp
  Win32Text.cpp)
set(PW_WIN32_LIBRARIES shell32 user32 gdi32 ole32)
