#include "platform/TaskbarButton.h"

#include <QWidget>
#include <windows.h>

namespace pw::platform
{

// A top-level window owned by a hidden window gets no taskbar button; Qt's
// equivalent of the hidden application window is a tool window style.
void hideTaskbarButton(QWidget& window)
{
    const auto hwnd = reinterpret_cast<HWND>(window.winId());
    LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    ex = (ex | WS_EX_TOOLWINDOW) & ~LONG_PTR(WS_EX_APPWINDOW);
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex);
}

} // namespace pw::platform
