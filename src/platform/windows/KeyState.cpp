#include "platform/KeyState.h"

#include <windows.h>

namespace pw::platform {

namespace {
std::function<bool()>& testProbe()
{
    static std::function<bool()> probe;
    return probe;
}
} // namespace

bool isShiftDown()
{
    if (testProbe())
        return testProbe()();
    return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
}

void setShiftStateForTesting(std::function<bool()> probe)
{
    testProbe() = std::move(probe);
}

} // namespace pw::platform
