// The Shift key's state and the taskbar button, against the real system.
#include <windows.h>

#include "TestSupport.h"
#include "win32/Win32.h"

#include <gtest/gtest.h>

namespace
{

void sendKey(WORD key, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
}

struct KeyCase {
    const char* name;
    WORD key;
    bool shift;
};

class Keyboard : public ::testing::TestWithParam<KeyCase>
{
protected:
    void TearDown() override { sendKey(GetParam().key, false); }
};

TEST_P(Keyboard, ShiftIsDownWhileEitherShiftKeyIs)
{
    const KeyCase& c = GetParam();
    ASSERT_FALSE(pw::win32::isShiftDown());
    sendKey(c.key, true);
    EXPECT_EQ(pw::win32::isShiftDown(), c.shift);
    sendKey(c.key, false);
    EXPECT_FALSE(pw::win32::isShiftDown());
}

INSTANTIATE_TEST_SUITE_P(
    Keyboard, Keyboard,
    ::testing::Values(KeyCase{"Shift", VK_SHIFT, true}, KeyCase{"LeftShift", VK_LSHIFT, true},
                      KeyCase{"RightShift", VK_RSHIFT, true}, KeyCase{"Control", VK_CONTROL, false},
                      KeyCase{"CapsLockIsNoShift", VK_CAPITAL, false}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

LRESULT CALLBACK plainWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

// A frameless top-level window as Qt makes the dock: an application window,
// layered for its transparent parts.
HWND createDockLikeWindow()
{
    return pw::win32::test::createWindow({L"PwTaskbarTestWindow", plainWindowProc,
                                          WS_EX_APPWINDOW | WS_EX_LAYERED, WS_POPUP, nullptr});
}

class Taskbar : public ::testing::TestWithParam<bool>
{
};

TEST_P(Taskbar, ToolWindowStyleReplacesTheApplicationWindowStyle)
{
    const bool shown = GetParam();
    const HWND wnd = createDockLikeWindow();
    ASSERT_NE(wnd, nullptr);
    if (shown)
        ShowWindow(wnd, SW_SHOWNA);

    pw::win32::hideTaskbarButton(reinterpret_cast<std::uintptr_t>(wnd));

    const LONG_PTR ex = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ex & WS_EX_APPWINDOW);
    // The window's other styles stay.
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_POPUP, WS_POPUP);
    // Called before the first show, the window stays hidden; a shown one is
    // shown again.
    EXPECT_EQ(IsWindowVisible(wnd) != FALSE, shown);
    DestroyWindow(wnd);
}

INSTANTIATE_TEST_SUITE_P(Taskbar, Taskbar, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Shown" : "NotYetShown");
                         });

} // namespace
