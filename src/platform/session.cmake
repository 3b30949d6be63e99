# Observing the main thread's window messages and the end of the session.
target_sources(pondwillow_platform PRIVATE
  platform/MessageHooks.h platform/${PW_OS}/MessageHooks.cpp)
