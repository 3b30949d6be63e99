# Installs the dock as a desktop program of a Linux system: the executable as
# bin/pondwillow, its desktop entry, its icon in the hicolor theme (the SVG and
# PNGs drawn from it at build time), its AppStream metainfo, its manual page
# and its copyright file; then the Debian package's settings
# (cmake/Packaging.cmake). The program finds its desktop entry in
# ../share/applications beside its bin folder and then keeps its files in the
# user's configuration folder instead of next to the executable.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/InstallWindows.cmake)
  return()
endif()
if(APPLE)
  return()
endif()
include(GNUInstallDirs)

set(PW_APP_ID org.pondwillow.Pondwillow)
# The day this version was released: the metainfo's release, the manual page
# and the Debian changelog.
set(PW_RELEASE_DATE 2026-12-11)
set(PW_DATA ${PROJECT_SOURCE_DIR}/data)
set(PW_DATA_BUILD ${PROJECT_BINARY_DIR}/data)

# The executable. install(PROGRAMS) renames it but is not stripped by an
# install with stripping on (cmake --install --strip, CPack's
# CPACK_STRIP_FILES), so that is done here, as Debian's tools strip.
install(PROGRAMS $<TARGET_FILE:Pondwillow> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME pondwillow)
if(CMAKE_STRIP)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
          --remove-section=.comment --remove-section=.note
          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/pondwillow\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endif()

# The Wayland module, where the executable looks for it (PW_MODULE_DIR,
# beside bin): a private module, out of the linker's path.
if(TARGET pondwillow_wayland)
  install(TARGETS pondwillow_wayland LIBRARY DESTINATION ${PW_MODULE_DIR})
endif()

install(FILES ${PW_DATA}/${PW_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon: the SVG as drawn, and the fixed sizes rendered from it.
set(PW_ICON_SIZES 16 24 32 48 64 128 256)
set(PW_ICON_DIR ${PW_DATA_BUILD}/icons)
set(PW_ICON_PNGS)
foreach(size IN LISTS PW_ICON_SIZES)
  list(APPEND PW_ICON_PNGS ${PW_ICON_DIR}/${size}x${size}/apps/${PW_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${PW_ICON_PNGS}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
    $<TARGET_FILE:hicolor_icons> ${PW_DATA}/${PW_APP_ID}.svg ${PW_ICON_DIR} ${PW_ICON_SIZES}
  DEPENDS hicolor_icons ${PW_DATA}/${PW_APP_ID}.svg
  COMMENT "Rendering the program's icon"
  VERBATIM)
install(FILES ${PW_DATA}/${PW_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS PW_ICON_SIZES)
  install(FILES ${PW_ICON_DIR}/${size}x${size}/apps/${PW_APP_ID}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

configure_file(${PW_DATA}/${PW_APP_ID}.metainfo.xml.in ${PW_DATA_BUILD}/${PW_APP_ID}.metainfo.xml
  @ONLY)
install(FILES ${PW_DATA_BUILD}/${PW_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page, compressed as Debian's policy wants (gzip -n: no name or
# time in the header, so that the same page gives the same bytes).
configure_file(${PW_DATA}/pondwillow.1.in ${PW_DATA_BUILD}/pondwillow.1 @ONLY)
add_custom_command(OUTPUT ${PW_DATA_BUILD}/pondwillow.1.gz
  COMMAND gzip -9nkf ${PW_DATA_BUILD}/pondwillow.1
  DEPENDS ${PW_DATA_BUILD}/pondwillow.1
  VERBATIM)
install(FILES ${PW_DATA_BUILD}/pondwillow.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PW_DATA}/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/pondwillow)

add_custom_target(pondwillow_data ALL DEPENDS ${PW_ICON_PNGS} ${PW_DATA_BUILD}/pondwillow.1.gz)

include(${CMAKE_CURRENT_LIST_DIR}/Packaging.cmake)
