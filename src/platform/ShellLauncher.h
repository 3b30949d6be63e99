#pragma once

#include <QString>
#include <functional>

namespace pw::platform
{

// Opens or starts a file the way the desktop does: a program is started with
// the parameter string, any other file is opened with the desktop's default
// application. The result is not reported: a failed launch changes nothing.
void shellLaunch(const QString& file, const QString& params, const QString& dir);

// Tests record launches instead of spawning anything; an empty function
// restores the real launcher.
void setShellLaunchForTesting(
    std::function<void(const QString& file, const QString& params, const QString& dir)> fake);

} // namespace pw::platform
