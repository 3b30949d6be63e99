#include "platform/KeyState.h"

#include "platform/windows/Win32.h"

namespace pw::platform
{

bool isShiftDownNative()
{
    return win32::isShiftDown();
}

} // namespace pw::platform
