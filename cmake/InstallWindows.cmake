# Lays out the Windows program as one portable folder, the way it ships:
# Pondwillow.exe (its files are then kept beside it, or in %APPDATA% when the
# folder is under Program Files), the Qt DLLs it links, the plugins Qt loads
# (platforms/, styles/, imageformats/) and the GCC runtime DLLs they share.
# windeployqt does this on Windows; it is not available to a cross build.
install(TARGETS Pondwillow RUNTIME DESTINATION .)

get_target_property(pw_qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT pw_qt_core)
  get_target_property(pw_qt_core Qt6::Core LOCATION)
endif()
get_filename_component(pw_qt_bin "${pw_qt_core}" DIRECTORY)
get_filename_component(pw_qt_prefix "${pw_qt_bin}" DIRECTORY)
install(FILES ${pw_qt_bin}/Qt6Core.dll ${pw_qt_bin}/Qt6Gui.dll ${pw_qt_bin}/Qt6Widgets.dll
  DESTINATION .)
install(FILES ${pw_qt_prefix}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(DIRECTORY ${pw_qt_prefix}/plugins/styles/ DESTINATION styles
  FILES_MATCHING PATTERN "*.dll" PATTERN "*d.dll" EXCLUDE)
install(DIRECTORY ${pw_qt_prefix}/plugins/imageformats/ DESTINATION imageformats
  FILES_MATCHING PATTERN "*.dll")

# The GCC runtime of the compiler that built the program and Qt.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE pw_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${pw_dll}")
    find_file(pw_dll_${dll} ${dll} PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH)
    set(pw_dll ${pw_dll_${dll}})
  endif()
  if(NOT EXISTS "${pw_dll}")
    message(FATAL_ERROR "The GCC runtime DLL ${dll} was not found")
  endif()
  install(FILES ${pw_dll} DESTINATION .)
endforeach()

# With stripping on (cmake --install --strip), the DLLs are stripped as the
# program is: Debian's GCC runtime DLLs carry their debugging symbols.
if(CMAKE_STRIP)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      file(GLOB_RECURSE pw_dlls \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\")
      foreach(pw_dll IN LISTS pw_dlls)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${pw_dll}\"
          COMMAND_ERROR_IS_FATAL ANY)
      endforeach()
    endif()")
endif()
