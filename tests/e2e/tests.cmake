# End-to-end tests: each script gets the dock's executable as its argument.
foreach(script startup edges session_end session_manager faults menus windows one_dock keyboard)
  add_test(NAME e2e_${script}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${script}.sh $<TARGET_FILE:Pondwillow>)
  set_tests_properties(e2e_${script} PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)
endforeach()
# The dock as a screen reader reads it: a private session bus with the
# accessibility bus, and an AT-SPI client of the tests' own (Python).
add_test(NAME e2e_accessibility
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/accessibility.sh $<TARGET_FILE:Pondwillow>)
set_tests_properties(e2e_accessibility PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)
# A group of 100,000 entries, with room for a sanitized build.
add_test(NAME e2e_huge_group
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/huge_group.sh $<TARGET_FILE:Pondwillow>)
set_tests_properties(e2e_huge_group PROPERTIES TIMEOUT 300 LABELS e2e RUN_SERIAL TRUE)

# The dock's commands as a user gives them: clicks, keys, a file dragged in
# from a small drag-source program of the tests' own, the tile menu.
add_executable(pw_e2e_drag_source e2e/drag_source.cpp)
target_link_libraries(pw_e2e_drag_source PRIVATE Qt6::Widgets pw_warnings)
add_test(NAME e2e_commands
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/commands.sh $<TARGET_FILE:Pondwillow>
          $<TARGET_FILE:pw_e2e_drag_source>)
set_tests_properties(e2e_commands PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)

# An entry whose file is missing stays in its group file through a drop and
# comes back in its place once the file is there.
add_test(NAME e2e_absent_entry
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/absent_entry.sh $<TARGET_FILE:Pondwillow>
          $<TARGET_FILE:pw_e2e_drag_source>)
set_tests_properties(e2e_absent_entry PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)

# The Debian package: built by scripts/package.sh in a Release build of its own
# under this build tree (minutes on 2 cores), installed with apt, used by an
# ordinary user through the installed program, removed and purged. It installs
# into the system: root only; skipped (77) elsewhere.
add_test(NAME e2e_package
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/package.sh ${PROJECT_BINARY_DIR}/package
          $<TARGET_FILE:pw_e2e_drag_source>)
set_tests_properties(e2e_package PROPERTIES
  TIMEOUT 1800 LABELS e2e RUN_SERIAL TRUE SKIP_RETURN_CODE 77)

# Two monitors under Xvfb: a dock on the second one at each edge, monitors
# unplugged and plugged back, and a second monitor at a pixel ratio of 2.
add_test(NAME e2e_monitors
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/monitors.sh $<TARGET_FILE:Pondwillow>)
set_tests_properties(e2e_monitors PROPERTIES TIMEOUT 300 LABELS e2e RUN_SERIAL TRUE)

# The dock as a layer surface of a headless sway: at each edge where it is
# under X, a tile's tooltip under a resting pointer, keys after a click (a
# virtual pointer program of the tests' own), the saved position. Skipped
# (77) where the build has no layer surfaces or sway is not installed.
if(PW_LAYER_SHELL_BUILT)
  pw_find_protocol(PW_VIRTUAL_POINTER_XML wlr-virtual-pointer-unstable-v1.xml)
endif()
set(pw_click "")
if(PW_LAYER_SHELL_BUILT AND PW_VIRTUAL_POINTER_XML)
  add_executable(pw_e2e_wl_click e2e/wl_click.cpp)
  target_link_libraries(pw_e2e_wl_click PRIVATE pw_warnings)
  pw_wayland_protocol(pw_e2e_wl_click ${PW_VIRTUAL_POINTER_XML})
  set(pw_click $<TARGET_FILE:pw_e2e_wl_click>)
endif()
add_test(NAME e2e_sway
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/sway.sh $<TARGET_FILE:Pondwillow>
          ${PW_LAYER_SHELL_BUILT} "${pw_click}")
set_tests_properties(e2e_sway PROPERTIES
  TIMEOUT 300 LABELS e2e RUN_SERIAL TRUE SKIP_RETURN_CODE 77)

# The dock through the Xwayland of a headless mutter (GNOME's compositor) and
# of a headless weston: where it stands, with no frame; under mutter keys and
# clicks too. Skipped (77) where the compositor cannot run.
foreach(compositor mutter weston)
  add_test(NAME e2e_xwayland_${compositor}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/xwayland.sh ${compositor} $<TARGET_FILE:Pondwillow>)
  set_tests_properties(e2e_xwayland_${compositor} PROPERTIES
    TIMEOUT 180 LABELS e2e RUN_SERIAL TRUE SKIP_RETURN_CODE 77)
endforeach()

# The dock in English (LANGUAGE=en) from a new settings file, and in Japanese
# again under a Japanese locale with the stored group names kept.
add_test(NAME e2e_english
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/english.sh $<TARGET_FILE:Pondwillow>)
set_tests_properties(e2e_english PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)
