#pragma once

#include "core/RefrectMode.h"

#include <QList>
#include <QPoint>
#include <QRect>

// Which monitor the dock lives on, and where it stands in for a monitor that
// went away. Monitors are rectangles in desktop coordinates (logical pixels);
// the dock's stored position is a desktop position too, so a position saved
// on a one-monitor desktop means the same on any other.
namespace pw::monitors
{

struct Monitors {
    QList<QRect> rects;
    int primary = 0;

    bool isEmpty() const { return rects.isEmpty(); }
    QRect primaryRect() const;
};

// The index of the monitor that holds the point, or -1 when none does.
int monitorAt(const Monitors& monitors, QPoint point);

// The point that says which monitor a window belongs to: its centre, with a
// row longer than the monitor it was on (`current`) counted at that
// monitor's length, so a long row stays on the monitor where it starts.
QPoint anchorOf(QRect window, QSize current);

// The dock's monitor: the one holding the window's anchor, else the primary
// one (a null rectangle when there is no monitor at all).
QRect monitorFor(const Monitors& monitors, QRect window, QSize current);

// Where a window that stood on `lost` stands on `to` instead: at the same
// edge, as far from that edge and as far along it as it was, kept within
// `to` where it fits.
QPoint standIn(TRefrectMode mode, QRect window, QRect lost, QRect to);

} // namespace pw::monitors
