#include "platform/SystemLanguage.h"

#include "win32/Win32.h"

namespace pw::platform
{

QString systemDisplayLanguage()
{
    return QString::fromStdWString(win32::userUiLanguage());
}

} // namespace pw::platform
