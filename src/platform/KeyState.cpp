#include "platform/KeyState.h"

namespace pw::platform
{

// Defined once per operating system.
bool isShiftDownNative();

namespace
{
std::function<bool()>& testProbe()
{
    static std::function<bool()> probe;
    return probe;
}
} // namespace

bool isShiftDown()
{
    return testProbe() ? testProbe()() : isShiftDownNative();
}

void setShiftStateForTesting(std::function<bool()> probe)
{
    testProbe() = std::move(probe);
}

} // namespace pw::platform
