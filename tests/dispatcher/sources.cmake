target_sources(dispatcher_tests PRIVATE dispatcher/dispatcher_test.cpp)
if(NOT WIN32)
  target_sources(dispatcher_tests PRIVATE dispatcher/session_end_test.cpp)
endif()
