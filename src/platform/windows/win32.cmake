# The Win32 layer of the Windows adapters: Win32 and the C++ standard library
# only, no Qt. Paths are relative to src/. The program's Windows build
# compiles these with the Qt side of the adapters; the cross build of the
# tests (tests/win32) compiles them alone and runs them under Wine.
set(PW_WIN32_SOURCES
  platform/windows/Win32.h
  platform/windows/Win32Icon.h
  platform/windows/Win32Icons.cpp
  platform/windows/Win32Input.cpp
  platform/windows/Win32Launch.cpp
  platform/windows/Win32Text.cpp)
set(PW_WIN32_LIBRARIES shell32 user32 gdi32 ole32)
