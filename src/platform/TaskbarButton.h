#pragma once

class QWidget;

namespace pw::platform
{

// Keeps the program's button off the taskbar for the rest of the run. Call
// before the window is first shown.
void hideTaskbarButton(QWidget& window);

} // namespace pw::platform
