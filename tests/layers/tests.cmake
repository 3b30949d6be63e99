# Each layer reaches its own headers and those of the layers below it, and no
# others. A probe, compiled with one layer's include path, includes one
# header; the test builds it and expects the compiler to find the header or
# to report it missing. Built only by these tests.
set(PW_LAYER_PROBES
  # layer    header                  found
  core       core/Errors.h           yes
  core       storage/StringList.h    no
  core       platform/KeyState.h     no
  storage    core/Errors.h           yes
  storage    icons/IconCache.h       no
  storage    dock/Unit1.h            no
  icons      platform/KeyState.h     no
  icons      storage/IniFile.h       no
  platform   storage/IniFile.h       no
  platform   app/Prompter.h          no
  app        platform/KeyState.h     yes
  app        dock/Unit1.h            no
  dock       storage/IniFile.h       yes
  dock       editors/Unit2.h         no
  editors    dock/Unit1.h            yes)
set(index 0)
while(PW_LAYER_PROBES)
  list(POP_FRONT PW_LAYER_PROBES layer header found)
  math(EXPR index "${index} + 1")
  set(probe pw_layer_probe_${index})
  add_library(${probe} OBJECT EXCLUDE_FROM_ALL layers/probe.cpp)
  set_target_properties(${probe} PROPERTIES AUTOMOC OFF)
  target_compile_definitions(${probe} PRIVATE PW_PROBE_HEADER="${header}")
  target_link_libraries(${probe} PRIVATE pondwillow_${layer})
  string(REPLACE "/" "_" test_name "layers_${layer}_${header}")
  add_test(NAME ${test_name}
    COMMAND ${CMAKE_COMMAND} --build ${PROJECT_BINARY_DIR} --target ${probe})
  if(found)
    set_tests_properties(${test_name} PROPERTIES LABELS layers)
  else()
    string(REPLACE "." "\\." pattern "${header}")
    set_tests_properties(${test_name} PROPERTIES LABELS layers
      PASS_REGULAR_EXPRESSION "${pattern}: No such file or directory")
  endif()
endwhile()
