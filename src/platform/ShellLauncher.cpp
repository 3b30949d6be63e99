#include "platform/ShellLauncher.h"

namespace pw::platform
{

// Defined once per operating system.
void shellLaunchNative(const QString& file, const QString& params, const QString& dir,
                       std::uintptr_t owner);

namespace
{
std::function<void(const QString&, const QString&, const QString&)>& fakeLauncher()
{
    static std::function<void(const QString&, const QString&, const QString&)> fake;
    return fake;
}
} // namespace

void shellLaunch(const QString& file, const QString& params, const QString& dir,
                 std::uintptr_t owner)
{
    if (fakeLauncher())
        fakeLauncher()(file, params, dir);
    else
        shellLaunchNative(file, params, dir, owner);
}

void setShellLaunchForTesting(
    std::function<void(const QString& file, const QString& params, const QString& dir)> fake)
{
    fakeLauncher() = std::move(fake);
}

} // namespace pw::platform
