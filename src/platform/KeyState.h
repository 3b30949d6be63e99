#pragma once

#include <functional>

namespace pw::platform
{

// Whether the Shift key is held down at this moment (the key itself, not the
// modifier flags of some earlier event).
bool isShiftDown();

// Tests replace the answer; an empty function restores the real one.
void setShiftStateForTesting(std::function<bool()> probe);

} // namespace pw::platform
