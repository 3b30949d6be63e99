#pragma once

class QWidget;

namespace pw
{

// Centres a top-level window, its frame included, on the dock's monitor (the
// primary one when there is no dock).
// Call it from the window's show event: before a window is first mapped the
// window manager has not told Qt how large its frame is, so the window is
// placed again when it is first exposed and the frame is known.
void centreOnScreen(QWidget& window);

} // namespace pw
