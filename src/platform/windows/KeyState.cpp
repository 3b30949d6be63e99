#include "platform/KeyState.h"

#include "win32/Win32.h"

namespace pw::platform
{

bool isShiftDownNative()
{
    return win32::isShiftDown();
}

} // namespace pw::platform
