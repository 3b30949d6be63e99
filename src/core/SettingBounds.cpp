#include "core/SettingBounds.h"

#include <algorithm>
#include <cmath>

namespace pw::bounds
{

float finiteOr(double value, float def)
{
    const auto f = static_cast<float>(value);
    return std::isfinite(f) ? f : def;
}

namespace
{

// The start of a span of `size` on a screen of `screen`, moved as little as
// possible so that `need` of it lies within 0 to screen.
int reachableStart(int start, int size, int screen)
{
    const int need = std::min(kReachable, size);
    const int lowest = need - size; // the span ends `need` into the screen
    const int highest = std::max(lowest, screen - need);
    return std::clamp(start, lowest, highest);
}

} // namespace

QPoint keepReachable(QRect window, QRect screen)
{
    return {screen.left() +
                reachableStart(window.left() - screen.left(), window.width(), screen.width()),
            screen.top() +
                reachableStart(window.top() - screen.top(), window.height(), screen.height())};
}

} // namespace pw::bounds
