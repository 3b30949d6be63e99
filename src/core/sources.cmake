target_sources(pondwillow_core PRIVATE
  core/Errors.h
  core/Rounding.h
  core/RefrectMode.h core/RefrectMode.cpp
  core/EntryLine.h core/EntryLine.cpp
  core/LaunchRule.h core/LaunchRule.cpp
  core/IniValues.h core/IniValues.cpp
  core/Layout.h core/Layout.cpp
  core/SettingBounds.h core/SettingBounds.cpp
  platform/TextCodec.h platform/${PW_OS}/TextCodec.cpp
  platform/AtomicFile.h platform/AtomicFile.cpp platform/${PW_OS}/AtomicFile.cpp
  platform/IniFile.h platform/IniFile.cpp
  platform/StringList.h platform/StringList.cpp)
