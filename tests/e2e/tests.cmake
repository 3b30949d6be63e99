# End-to-end tests: each script gets the dock's executable as its argument.
foreach(script startup edges session_end session_manager faults menus)
  add_test(NAME e2e_${script}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${script}.sh $<TARGET_FILE:Pondwillow>)
  set_tests_properties(e2e_${script} PROPERTIES TIMEOUT 120 LABELS e2e RUN_SERIAL TRUE)
endforeach()
# A group of 100,000 entries, with room for a sanitized build.
add_test(NAME e2e_huge_group
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/huge_group.sh $<TARGET_FILE:Pondwillow>)
set_tests_properties(e2e_huge_group PROPERTIES TIMEOUT 300 LABELS e2e RUN_SERIAL TRUE)
