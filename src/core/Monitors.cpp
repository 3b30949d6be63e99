#include "core/Monitors.h"

#include <algorithm>

namespace pw::monitors
{

QRect Monitors::primaryRect() const
{
    if (rects.isEmpty())
        return {};
    return rects.at(primary >= 0 && primary < rects.size() ? primary : 0);
}

int monitorAt(const Monitors& monitors, QPoint point)
{
    for (int i = 0; i < monitors.rects.size(); ++i) {
        if (monitors.rects.at(i).contains(point))
            return i;
    }
    return -1;
}

QPoint anchorOf(QRect window, QSize current)
{
    const QSize counted(
        current.width() > 0 ? std::min(window.width(), current.width()) : window.width(),
        current.height() > 0 ? std::min(window.height(), current.height()) : window.height());
    return QRect(window.topLeft(), counted).center();
}

QRect monitorFor(const Monitors& monitors, QRect window, QSize current)
{
    const int i = monitorAt(monitors, anchorOf(window, current));
    return i >= 0 ? monitors.rects.at(i) : monitors.primaryRect();
}

namespace
{

// A span's start on the new monitor: the same distance from the monitor's
// start, kept within it where the span fits.
int carried(int start, int size, int lostStart, int toStart, int toSize)
{
    const int at = toStart + (start - lostStart);
    return size >= toSize ? toStart : std::clamp(at, toStart, toStart + toSize - size);
}

// A span's start that keeps its distance from the far side (the bottom or the
// right) of its monitor.
int carriedFromEnd(int start, int size, int lostEnd, int toStart, int toSize)
{
    const int gap = lostEnd - (start + size);
    const int at = toStart + toSize - size - gap;
    return size >= toSize ? toStart : std::clamp(at, toStart, toStart + toSize - size);
}

} // namespace

QPoint standIn(TRefrectMode mode, QRect window, QRect lost, QRect to)
{
    const int lostRight = lost.left() + lost.width();
    const int lostBottom = lost.top() + lost.height();
    int x = carried(window.left(), window.width(), lost.left(), to.left(), to.width());
    int y = carried(window.top(), window.height(), lost.top(), to.top(), to.height());
    if (mode == TRefrectMode::mbottom)
        y = carriedFromEnd(window.top(), window.height(), lostBottom, to.top(), to.height());
    if (mode == TRefrectMode::mright)
        x = carriedFromEnd(window.left(), window.width(), lostRight, to.left(), to.width());
    return {x, y};
}

} // namespace pw::monitors
