#include "platform/ShellLauncher.h"

#include <shellapi.h>
#include <windows.h>

namespace pw::platform
{

void shellLaunchNative(const QString& file, const QString& params, const QString& dir)
{
    const std::wstring f = file.toStdWString();
    const std::wstring p = params.toStdWString();
    const std::wstring d = dir.toStdWString();
    ShellExecuteW(nullptr, nullptr, f.c_str(), p.c_str(), d.c_str(), SW_SHOWNORMAL);
}

} // namespace pw::platform
