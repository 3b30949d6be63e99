// Qt makes no hidden application window that owns the taskbar button, as
// some frameworks do: every top-level window without a parent has a button
// of its own. The dock's button goes with the tool-window style on the dock
// itself (Win32Input.cpp). Qt's own Qt::Tool flag would set the same style,
// but Qt then clears the dock's WA_QuitOnClose attribute, and closing the
// dock would no longer end the program.
#include "platform/TaskbarButton.h"

#include "win32/Win32.h"

#include <QWidget>

namespace pw::platform
{

// Qt sets the window's styles anew whenever its flags change, so callers
// hide the button again after such a change.
void hideTaskbarButton(QWidget& window)
{
    win32::hideTaskbarButton(static_cast<std::uintptr_t>(window.winId()));
}

} // namespace pw::platform
