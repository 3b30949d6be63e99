#pragma once

#include <cmath>
#include <cstdint>

namespace pw
{

// Every float-to-integer conversion of the dock rounds to nearest with halves
// going to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline std::int32_t roundHalfEven(double v)
{
    // nearbyint rounds in the current mode, which is round-to-nearest-even
    // unless someone changed it; the dock never does.
    return static_cast<std::int32_t>(std::nearbyint(v));
}

} // namespace pw
