// Thread hooks on the main thread's message traffic: one on messages sent to
// a window procedure, one on messages taken off the queue. A peeked message
// is offered only when it is removed, so each message is offered once. The
// hooks only observe: every call goes on to the next hook unchanged.
#include <windows.h>

#include "platform/MessageHooks.h"

#include <cstdio>
#include <exception>
#include <string>

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

// A failure inside a hook goes to the debugger's output and to standard
// error (a GUI program has none unless started from a console).
void report(const char* what) noexcept
{
    try {
        const std::string line = std::string("Pondwillow: message hook: ") + what + "\n";
        OutputDebugStringA(line.c_str());
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
    } catch (...) {
        OutputDebugStringA("Pondwillow: message hook: an error, and no memory to describe it\n");
    }
}

// Nothing may unwind through the system's hook call, which has no way to
// pass an exception on: an error is reported and the message goes on to the
// next hook as if the callback had returned.
void deliver(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    try {
        // A copy: a handler may remove the hooks while it runs.
        const pw::MessageHooks::Callback callback = hooks().callback;
        if (callback)
            callback(reinterpret_cast<std::uintptr_t>(wnd), msg, wParam, lParam);
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("an error that is not a standard exception");
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
    if (h.callWndProc == nullptr || h.getMessage == nullptr)
        report("a thread hook could not be installed; its messages are not seen");
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
