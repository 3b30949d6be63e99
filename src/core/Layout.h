#pragma once

#include "core/RefrectMode.h"

#include <QPointF>
#include <QRect>
#include <QSizeF>
#include <optional>

// The arithmetic of one layout pass of the dock: where the panel goes, how big
// the window is across and along the dock, where each tile stands and how the
// window is kept on the screen at its edge. Pure functions over plain values;
// the dock window applies their results.
namespace pw::layout
{

// The settings a pass reads.
struct Params {
    bool isVertical = false;
    TRefrectMode mode = TRefrectMode::mbottom;
    int bw = 48;
    float gap = 4; // Gp
    int backSize = 96;
    int xyoffset = 0;
    int popLength = 30;
};

enum class Align { None, Left, Right, Top, Bottom };

// The side the panel is aligned to; nullopt for a pair the settings window
// never produces (a vertical dock at the top or bottom edge, or the reverse),
// which leaves the alignment as it was.
std::optional<Align> panelAlign(const Params& p);

// Size of the window across the dock: |xyoffset| + BackSize + PopLength.
int acrossSize(const Params& p);

// The panel's rectangle inside a window of the given size: BackSize thick,
// stretched over the window's other dimension.
QRectF panelRect(Align align, QSizeF panelSize, QSize window);

// The layout cursor (Gx, Gy) as the start of a pass leaves it.
QPointF cursorStart(const Params& p);

// Places one tile at the cursor. Returns the tile's position and advances the
// cursor; for an invalid edge/orientation pair returns nullopt and leaves the
// cursor alone. `panel` is the panel's current size, `window` the window's.
std::optional<QPointF> placeTile(const Params& p, QPointF& cursor, QSizeF panel, QSize window);

// The window's length along the dock after a tile was placed with the cursor
// as it now stands (bw + cursor + 20, rounded half to even).
int lengthAfterPlace(const Params& p, QPointF cursor);

// The length of a dock that shows no tile: room for one tile slot, so the
// drop zone of an empty group is as long as the dock will be with its first
// entry.
int emptyLength(const Params& p);

// Keeps the window on the screen at its own edge only: returns the window's
// new top-left. `panel` is the panel's size, `screen` the dock's monitor in
// desktop coordinates.
QPoint keepOnScreen(TRefrectMode mode, QRect window, QSizeF panel, QRect screen);

// Where a tile jumps to and back from: (property is x?, start, stop).
struct Jump {
    bool alongX = false;
    float start = 0;
    float stop = 0;
};
std::optional<Jump> jumpFor(const Params& p, QPointF cursor);

// The tile's resting rotation (by edge) and the swing animation's start and
// stop angles (0 and 0 for an edge/orientation pair the settings never make).
struct Turn {
    float rest = 0;
    float swingStart = 0;
    float swingStop = 0;
};
Turn turnFor(const Params& p);

// ---- a row longer than the screen ----------------------------------------------

// The largest width or height a window may have: X11 keeps window sizes and
// positions in 16 bits.
inline constexpr int kMaxWindowExtent = 32767;

// The window as it is shown for the dock's full frame (`frame`, as the layout
// passes size it). Its length along the dock is capped at the screen's length
// and never exceeds kMaxWindowExtent; a capped window is placed at the
// screen's start along the dock, so its first tile is on the screen, and the
// row of tiles scrolls inside it. A dock that fits keeps its place.
QRect shownWindow(bool isVertical, QRect frame, QRect screen);

// How far the row can scroll: the frame's length along the dock beyond the
// shown window's (0 when the dock fits).
int maxScroll(bool isVertical, QRect frame, QRect shown);

// The scroll offset after a turn of the mouse wheel: `angleDelta` in eighths
// of a degree (120 a notch; positive turns away from the user, which moves
// towards the row's start), `step` pixels a notch, kept within 0 to `max`.
int scrolledBy(int offset, int angleDelta, int step, int max);

// The pixels one notch of the wheel scrolls: `lines` tile slots.
int wheelStep(const Params& p, int lines);

// The tiles, by index, that a span along the dock of the window's frame
// touches, when `count` tiles stand where a pass places them: [first, last).
struct IndexRange {
    int first = 0;
    int last = 0;
};
IndexRange tilesInSpan(const Params& p, double spanStart, double spanLength, int count);

} // namespace pw::layout
