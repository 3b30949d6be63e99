#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace pw::platform
{

// Opens or starts a file the way the desktop does: a program is started with
// the parameter string, any other file is opened with the desktop's default
// application. The result is not reported: a failed launch changes nothing.
// owner is the native handle of the window the launch comes from (0: none);
// the Windows shell shows any question or message of its own over it. Safe
// to call from any thread.
void shellLaunch(const QString& file, const QString& params, const QString& dir,
                 std::uintptr_t owner = 0);

// Tests record launches instead of spawning anything; an empty function
// restores the real launcher.
void setShellLaunchForTesting(
    std::function<void(const QString& file, const QString& params, const QString& dir)> fake);

} // namespace pw::platform
