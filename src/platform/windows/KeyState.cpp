#include "platform/KeyState.h"

#include <windows.h>

namespace pw::platform
{

bool isShiftDownNative()
{
    return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
}

} // namespace pw::platform
