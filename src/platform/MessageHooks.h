#pragma once

#include <cstdint>
#include <functional>

namespace pw
{

// Watches the main thread's window messages and hands each one to a callback.
// On Windows: thread hooks on sent and on removed queued messages. On Linux:
// the end of the desktop session (the session manager's save requests and
// the termination signals), offered as the query-end-session message once
// per top-level window; the signals then end the event loop, with status 0
// when every handler took the message and 1 when one of them failed.
class MessageHooks
{
public:
    using Callback = std::function<void(std::uintptr_t wnd, std::uint32_t msg,
                                        std::uintptr_t wParam, std::intptr_t lParam)>;

    MessageHooks() = delete;

    // Call on the main thread. Where the application object is needed and
    // does not exist yet, that part waits for attachApplication().
    static void install(Callback callback);
    // Completes install() once the application object exists. Does nothing
    // if it is complete already or nothing is installed.
    static void attachApplication();
    // Undoes install(). Does nothing if nothing is installed.
    static void remove();
    // Tells the hooks that a handler failed on the message being offered, so
    // that an end of the session can report the failure in its exit status.
    static void handlerFailed();
};

} // namespace pw
