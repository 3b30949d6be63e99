# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (package
# g++-mingw-w64-x86-64). The "-posix" compilers use the POSIX thread model,
# which std::thread and std::mutex (and so GoogleTest) need.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PW_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PW_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PW_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PW_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PW_MINGW_PREFIX})
# A Qt for Windows named in CMAKE_PREFIX_PATH (scripts/windows.sh) is searched
# beside the mingw root.
if(CMAKE_PREFIX_PATH)
  list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without Qt (the Win32 layer's tests), the GCC runtime (libstdc++, libgcc,
# winpthread) is linked in, so the programs run on a plain Windows or Wine
# without its DLLs beside them. With Qt's DLLs the program shares their
# runtime DLLs instead: one C++ runtime in the process.
if(NOT CMAKE_PREFIX_PATH)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()
