#include "core/Layout.h"

#include "core/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pw::layout
{

std::optional<Align> panelAlign(const Params& p)
{
    if (p.isVertical && p.mode == TRefrectMode::mleft)
        return Align::Left;
    if (p.isVertical && p.mode == TRefrectMode::mright)
        return Align::Right;
    if (!p.isVertical && p.mode == TRefrectMode::mtop)
        return Align::Top;
    if (!p.isVertical && p.mode == TRefrectMode::mbottom)
        return Align::Bottom;
    return std::nullopt;
}

int acrossSize(const Params& p)
{
    return std::abs(p.xyoffset) + p.backSize + p.popLength;
}

QRectF panelRect(Align align, QSizeF panelSize, QSize window)
{
    const qreal w = window.width();
    const qreal h = window.height();
    switch (align) {
    case Align::Left:
        return {0, 0, panelSize.width(), h};
    case Align::Right:
        return {w - panelSize.width(), 0, panelSize.width(), h};
    case Align::Top:
        return {0, 0, w, panelSize.height()};
    case Align::Bottom:
        return {0, h - panelSize.height(), w, panelSize.height()};
    case Align::None:
        break;
    }
    return {QPointF(0, 0), panelSize};
}

QPointF cursorStart(const Params& p)
{
    // A vertical dock places first and advances afterwards; a horizontal one
    // advances first, so it starts one tile before 20.
    return p.isVertical ? QPointF(0, 20) : QPointF(float(20 - p.bw), 0);
}

std::optional<QPointF> placeTile(const Params& p, QPointF& cursor, QSizeF panel, QSize window)
{
    const auto align = panelAlign(p);
    if (!align)
        return std::nullopt;
    const float bw = float(p.bw);
    const float o = (p.mode == TRefrectMode::mleft || p.mode == TRefrectMode::mtop)
                        ? float(p.xyoffset)
                        : float(-p.xyoffset);
    const float pw = float(panel.width());
    const float ph = float(panel.height());
    float x = float(cursor.x());
    float y = float(cursor.y());
    QPointF pos;
    switch (*align) {
    case Align::Left:
        pos = {(pw - bw) / 2 + o, y};
        y = bw + y + p.gap;
        x = float(pos.x());
        break;
    case Align::Right:
        pos = {float(window.width()) - (pw + bw) / 2 + o, y};
        y = bw + y + p.gap;
        x = float(pos.x());
        break;
    case Align::Top:
        x = bw + x + p.gap;
        pos = {x, (ph - bw) / 2 + o};
        y = float(pos.y());
        break;
    case Align::Bottom:
        x = bw + x + p.gap;
        pos = {x, float(window.height()) - ((ph + bw) / 2 - o)};
        y = float(pos.y());
        break;
    case Align::None:
        return std::nullopt;
    }
    cursor = {x, y};
    return pos;
}

int lengthAfterPlace(const Params& p, QPointF cursor)
{
    const float along = p.isVertical ? float(cursor.y()) : float(cursor.x());
    return roundHalfEven(double(float(p.bw) + along + 20.0f));
}

int emptyLength(const Params& p)
{
    return roundHalfEven(double(40.0f + float(p.bw) + p.gap));
}

QPoint keepOnScreen(TRefrectMode mode, QRect window, QSizeF panel, QRect screen)
{
    // Each edge is checked against the screen's own side, so a monitor that
    // does not start at the desktop's origin holds the dock as the first does.
    const double l = window.left() - screen.left();
    const double t = window.top() - screen.top();
    const double w = window.width();
    const double h = window.height();
    const double pw = panel.width();
    const double ph = panel.height();
    QPoint pos = window.topLeft();
    switch (mode) {
    case TRefrectMode::mbottom:
        if (t + h - ph > screen.height() - ph)
            pos.setY(screen.top() + roundHalfEven(screen.height() - h));
        break;
    case TRefrectMode::mtop:
        if (t + ph < ph)
            pos.setY(screen.top());
        break;
    case TRefrectMode::mright:
        if (l + w - pw > screen.width() - pw)
            pos.setX(screen.left() + roundHalfEven(screen.width() - w));
        break;
    case TRefrectMode::mleft:
        if (l + pw < pw)
            pos.setX(screen.left());
        break;
    }
    return pos;
}

std::optional<Jump> jumpFor(const Params& p, QPointF cursor)
{
    const float gx = float(cursor.x());
    const float gy = float(cursor.y());
    const float d = float(p.popLength);
    switch (p.mode) {
    case TRefrectMode::mleft:
        return Jump{true, gx, gx + d};
    case TRefrectMode::mright:
        return Jump{true, gx, gx - d};
    case TRefrectMode::mtop:
        return Jump{false, gy, gy + d};
    case TRefrectMode::mbottom:
        return Jump{false, gy, gy - d};
    }
    return std::nullopt;
}

Turn turnFor(const Params& p)
{
    // The tile's frame is turned so that its lower side faces the dock's
    // edge; the picture is turned back by the same angle to stand upright.
    // The swing starts 45 degrees short of the resting angle.
    Turn t;
    switch (p.mode) {
    case TRefrectMode::mleft:
        t.rest = 90;
        break;
    case TRefrectMode::mright:
        t.rest = -90;
        break;
    case TRefrectMode::mtop:
        t.rest = -180;
        break;
    case TRefrectMode::mbottom:
        t.rest = 0;
        break;
    }
    if (panelAlign(p)) {
        t.swingStart = t.rest - 45;
        t.swingStop = t.rest;
    }
    return t;
}

namespace
{
int alongLength(bool isVertical, QSize size)
{
    return isVertical ? size.height() : size.width();
}
} // namespace

QRect shownWindow(bool isVertical, QRect frame, QRect screen)
{
    const int screenLength = isVertical ? screen.height() : screen.width();
    const int cap = std::clamp(screenLength, 1, kMaxWindowExtent);
    QRect shown = frame;
    shown.setWidth(std::min(frame.width(), kMaxWindowExtent));
    shown.setHeight(std::min(frame.height(), kMaxWindowExtent));
    if (alongLength(isVertical, frame.size()) > cap) {
        if (isVertical) {
            shown.moveTop(screen.top());
            shown.setHeight(cap);
        } else {
            shown.moveLeft(screen.left());
            shown.setWidth(cap);
        }
    }
    return shown;
}

int maxScroll(bool isVertical, QRect frame, QRect shown)
{
    return std::max(0,
                    alongLength(isVertical, frame.size()) - alongLength(isVertical, shown.size()));
}

int scrolledBy(int offset, int angleDelta, int step, int max)
{
    const qint64 moved = qint64(offset) - qint64(angleDelta) * step / 120;
    return int(std::clamp<qint64>(moved, 0, std::max(0, max)));
}

int wheelStep(const Params& p, int lines)
{
    const double slot = double(p.bw) + double(p.gap);
    return std::max(1, int(std::lround(std::max(1, lines) * std::max(1.0, slot))));
}

IndexRange tilesInSpan(const Params& p, double spanStart, double spanLength, int count)
{
    if (count <= 0 || spanLength <= 0)
        return {};
    // Tile i covers [first + i * slot, first + i * slot + bw) along the dock.
    const QPointF start = cursorStart(p);
    const double slot = double(p.bw) + double(p.gap);
    const double first = p.isVertical ? start.y() : start.x() + slot;
    if (slot <= 0)
        return {0, count};
    // Tile i touches the span when it ends after the span's start and starts
    // before the span's end.
    const double lo = std::floor((spanStart - first - double(p.bw)) / slot) + 1;
    const double hi = std::ceil((spanStart + spanLength - first) / slot);
    const int a = int(std::clamp(lo, 0.0, double(count)));
    const int b = int(std::clamp(hi, 0.0, double(count)));
    return {a, std::max(a, b)};
}

} // namespace pw::layout
