// Thread hooks on the main thread's message traffic: one on messages sent to
// a window procedure, one on messages taken off the queue. A peeked message
// is offered only when it is removed, so each message is offered once. The
// hooks only observe: every call goes on to the next hook unchanged.
#include "platform/MessageHooks.h"

#include <windows.h>

namespace
{

struct WindowsHooks {
    pw::MessageHooks::Callback callback;
    HHOOK callWndProc = nullptr;
    HHOOK getMessage = nullptr;
    bool installed = false;
};

WindowsHooks& hooks()
{
    static WindowsHooks h;
    return h;
}

// Nothing may unwind through the system's hook call.
void deliver(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    // A copy: a handler may remove the hooks while it runs.
    const pw::MessageHooks::Callback callback = hooks().callback;
    if (!callback)
        return;
    try {
        callback(reinterpret_cast<std::uintptr_t>(wnd), msg, wParam, lParam);
    } catch (...) {
    }
}

LRESULT CALLBACK callWndProcHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode >= 0) {
        const auto* record = reinterpret_cast<const CWPSTRUCT*>(lParam);
        deliver(record->hwnd, record->message, record->wParam, record->lParam);
    }
    return CallNextHookEx(hooks().callWndProc, nCode, wParam, lParam);
}

LRESULT CALLBACK getMsgProcHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode >= 0 && wParam == PM_REMOVE) {
        const auto* record = reinterpret_cast<const MSG*>(lParam);
        deliver(record->hwnd, record->message, record->wParam, record->lParam);
    }
    return CallNextHookEx(hooks().getMessage, nCode, wParam, lParam);
}

} // namespace

namespace pw
{

void MessageHooks::install(Callback callback)
{
    auto& h = hooks();
    h.callback = std::move(callback);
    if (h.installed)
        return;
    const DWORD thread = GetCurrentThreadId();
    h.callWndProc = SetWindowsHookExW(WH_CALLWNDPROC, callWndProcHook, nullptr, thread);
    h.getMessage = SetWindowsHookExW(WH_GETMESSAGE, getMsgProcHook, nullptr, thread);
    h.installed = true;
}

void MessageHooks::attachApplication() {}

void MessageHooks::remove()
{
    auto& h = hooks();
    if (!h.installed)
        return;
    if (h.callWndProc)
        UnhookWindowsHookEx(h.callWndProc);
    if (h.getMessage)
        UnhookWindowsHookEx(h.getMessage);
    h.callWndProc = nullptr;
    h.getMessage = nullptr;
    h.callback = nullptr;
    h.installed = false;
}

void MessageHooks::handlerFailed()
{
    // The hooks only observe: nothing reaches the system from a handler.
}

} // namespace pw
