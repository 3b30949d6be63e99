# The Debian package of the dock (cpack -G DEB, run by scripts/package.sh on a
# Release build without tests and benchmarks): the files of the install rules
# (cmake/Install.cmake) under /usr, with the dependencies that dpkg-shlibdeps
# reads from the libraries the executable links.
set(PW_MAINTAINER "Pondwillow developers <pondwillow@users.noreply.invalid>")

# Debian's changelog: the version and its release day, in the form Debian
# tools read.
execute_process(COMMAND date -u -R -d "${PW_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE PW_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${PW_DATA}/changelog.in ${PW_DATA_BUILD}/changelog @ONLY)
add_custom_command(OUTPUT ${PW_DATA_BUILD}/changelog.gz
  COMMAND gzip -9nkf ${PW_DATA_BUILD}/changelog
  DEPENDS ${PW_DATA_BUILD}/changelog
  VERBATIM)
add_custom_target(pondwillow_changelog ALL DEPENDS ${PW_DATA_BUILD}/changelog.gz)
install(FILES ${PW_DATA_BUILD}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/pondwillow)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pondwillow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pondwillow developers")
set(CPACK_PACKAGE_CONTACT "${PW_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small, fast desktop dock")
set(CPACK_PACKAGE_DESCRIPTION
  "Pondwillow is a dock: a borderless, transparent window against one edge of
the screen that shows a row of icon tiles. A click makes a tile jump and opens
its file or starts its program. Five groups of entries switch with F1 to F5;
files are added by dropping them on the dock.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PW_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the dock loads without linking it: Qt's SVG reader for icons drawn as
# SVG, and a font with Japanese glyphs for its menus' and windows' labels.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6, fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
