// Launching on Windows: the shell opens or starts the file (Win32Launch.cpp).
#include "platform/ShellLauncher.h"

#include "win32/Win32.h"

#include <cstdio>

namespace pw::platform
{

void shellLaunchNative(const QString& file, const QString& params, const QString& dir,
                       std::uintptr_t owner)
{
    if (!win32::shellOpen(owner, file.toStdWString(), params.toStdWString(), dir.toStdWString()))
        std::fprintf(stderr, "Pondwillow: the shell could not open %s\n",
                     file.toLocal8Bit().constData());
}

} // namespace pw::platform
