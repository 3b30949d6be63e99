// The keyboard's state and the taskbar button.
#include <windows.h>

#include "win32/Win32.h"

namespace pw::win32
{

bool isShiftDown()
{
    // The top bit (the sign) tells whether the key is down now; the low bit
    // only whether it was pressed since the last call.
    return GetAsyncKeyState(VK_SHIFT) < 0;
}

// The taskbar shows a button for every unowned top-level window that is not a
// tool window. A tool window has none and no place in the task switcher
// either; a frameless window looks the same with that style.
void hideTaskbarButton(std::uintptr_t window)
{
    const auto hwnd = reinterpret_cast<HWND>(window);
    if (!IsWindow(hwnd))
        return;
    const bool visible = IsWindowVisible(hwnd) != FALSE;
    if (visible)
        ShowWindow(hwnd, SW_HIDE);
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                      (style | WS_EX_TOOLWINDOW) & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW));
    if (visible)
        ShowWindow(hwnd, SW_SHOWNA);
}

} // namespace pw::win32
