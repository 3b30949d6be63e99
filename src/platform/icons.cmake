# File icons: the interface, the container decoders and the cache are shared;
# the provider has one implementation per operating system.
target_sources(pondwillow_platform PRIVATE
  platform/IconProvider.h platform/IconProvider.cpp platform/${PW_OS}/IconProvider.cpp
  platform/IconFileParser.h platform/IconFileParser.cpp
  platform/DesktopEntry.h platform/DesktopEntry.cpp
  platform/IconCache.h platform/IconCache.cpp)
