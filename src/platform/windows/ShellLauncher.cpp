#include "platform/ShellLauncher.h"

#include <windows.h>
#include <shellapi.h>

namespace pw::platform {

namespace {
std::function<void(const QString&, const QString&, const QString&)>& fakeLauncher()
{
    static std::function<void(const QString&, const QString&, const QString&)> fake;
    return fake;
}
} // namespace

void shellLaunch(const QString& file, const QString& params, const QString& dir)
{
    if (fakeLauncher()) {
        fakeLauncher()(file, params, dir);
        return;
    }
    const std::wstring f = file.toStdWString();
    const std::wstring p = params.toStdWString();
    const std::wstring d = dir.toStdWString();
    ShellExecuteW(nullptr, nullptr, f.c_str(), p.c_str(), d.c_str(), SW_SHOWNORMAL);
}

void setShellLaunchForTesting(
    std::function<void(const QString&, const QString&, const QString&)> fake)
{
    fakeLauncher() = std::move(fake);
}

} // namespace pw::platform
