#pragma once

#include <QRect>
#include <QSizeF>
#include <cstdint>

// The bounds within which a stored setting is used as it is. A value outside
// them could not be shown on any screen (an icon, a gap or a panel thousands
// of pixels wide, whose pictures alone would fill the memory and whose window
// X cannot map), would hide every icon (a size of 0 or less, a negative gap
// that piles the tiles up), or would leave the dock where no part of it can
// be reached; such a value is brought to the nearest bound, and that is what
// the dock uses and saves. Values inside the bounds are kept exactly as the
// file has them. The settings window's controls have narrower ranges of their
// own; these bounds concern only what a file can hold.
namespace pw::bounds
{

struct Range {
    std::int32_t min;
    std::int32_t max;
    std::int32_t operator()(std::int32_t v) const { return v < min ? min : v > max ? max : v; }
};

// Larger than the shorter side of a 4K screen, far beyond any icon theme.
constexpr std::int32_t kLargest = 2048;

constexpr Range tileSize{1, kLargest};                 // "Icon"/"Size": bw
constexpr Range gap{0, kLargest};                      // "Icon"/"GapH": Gp
constexpr Range jump{0, kLargest};                     // "Icon"/"Jump": PopLength
constexpr Range panelSize{1, kLargest};                // "Back"/"Size": BackSize
constexpr Range offset{-kLargest, kLargest};           // "Back"/"Offset": xyoffset
constexpr Range reflectionOffset{-kLargest, kLargest}; // "Refrect"/"Offset": RefOff

// A reflection's opacity or length that is no finite number gives the default.
float finiteOr(double value, float def);

// How much of the window stays on the screen in each direction at least (or
// all of it, when it is smaller): enough to see the dock and drag it back.
constexpr int kReachable = 32;

// Moves a window that lies (nearly) off the screen (the dock's monitor, in
// desktop coordinates) just far enough that
// kReachable pixels of it are on the screen in each direction; a window that
// already shows that much stays where it is.
QPoint keepReachable(QRect window, QRect screen);

} // namespace pw::bounds
