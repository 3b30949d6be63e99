# The translations of the program's texts. Each language has
# translations/pondwillow_<code>.ts (Qt Linguist's format; the source texts
# are the program's Japanese captions), compiled by lrelease at build time and
# built into the program as :/i18n/pondwillow_<code>.qm. The target
# update_translations runs lupdate to bring every .ts file up to date with the
# code and the forms. Both tools run on the build machine, in the Windows
# cross build too (Debian's qt6-l10n-tools); a cross build without them gets
# the program's own texts only.
set(PW_TRANSLATIONS en)

set(pw_qt_tool_dirs /usr/lib/qt6/bin)
if(QT6_INSTALL_PREFIX AND QT6_INSTALL_BINS AND NOT CMAKE_CROSSCOMPILING)
  list(PREPEND pw_qt_tool_dirs ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
endif()
if(QT_HOST_PATH)
  list(APPEND pw_qt_tool_dirs ${QT_HOST_PATH}/lib/qt6/bin ${QT_HOST_PATH}/bin)
endif()
find_program(PW_LRELEASE NAMES lrelease-qt6 lrelease HINTS ${pw_qt_tool_dirs})
find_program(PW_LUPDATE NAMES lupdate-qt6 lupdate HINTS ${pw_qt_tool_dirs})

# Builds the .qm files of PW_TRANSLATIONS into target's resources.
function(pw_add_translations target)
  if(NOT PW_LRELEASE)
    if(CMAKE_CROSSCOMPILING)
      message(WARNING "lrelease not found (Debian: qt6-l10n-tools): the program shows "
        "its own Japanese texts whatever the user's language")
      return()
    endif()
    message(FATAL_ERROR "lrelease not found: install qt6-l10n-tools (bash scripts/setup.sh)")
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/i18n)
  set(qm_files)
  foreach(code ${PW_TRANSLATIONS})
    set(ts ${PROJECT_SOURCE_DIR}/translations/pondwillow_${code}.ts)
    set(qm ${dir}/pondwillow_${code}.qm)
    add_custom_command(OUTPUT ${qm}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${PW_LRELEASE} -silent ${ts} -qm ${qm}
      DEPENDS ${ts}
      COMMENT "Compiling the translation pondwillow_${code}.ts"
      VERBATIM)
    list(APPEND qm_files ${qm})
  endforeach()
  qt_add_resources(${target} translations PREFIX /i18n BASE ${dir} FILES ${qm_files})

  if(PW_LUPDATE)
    set(commands)
    foreach(code ${PW_TRANSLATIONS})
      list(APPEND commands COMMAND ${PW_LUPDATE} -silent -locations none -no-obsolete
        -extensions cpp,h,ui -source-language ja -target-language ${code}
        ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/forms
        -ts ${PROJECT_SOURCE_DIR}/translations/pondwillow_${code}.ts)
    endforeach()
    add_custom_target(update_translations ${commands}
      COMMENT "Bringing translations/*.ts up to date with the code and the forms"
      VERBATIM)
  endif()
endfunction()
