#include "platform/TaskbarButton.h"

#include <QGuiApplication>
#include <QWidget>
#include <xcb/xcb.h>

namespace pw::platform
{

namespace
{

xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    const auto cookie = xcb_intern_atom(c, 0, std::uint16_t(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

} // namespace

// On X11 the taskbar lists every managed window that lacks
// _NET_WM_STATE_SKIP_TASKBAR. Qt keeps the states it finds on an unmapped
// window when it maps it, so setting the property before the first show is
// enough. Other platforms (offscreen, Wayland) have no such button to hide.
void hideTaskbarButton(QWidget& window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return;
    xcb_connection_t* c = x11->connection();
    const auto wid = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t state = internAtom(c, "_NET_WM_STATE");
    const xcb_atom_t atoms[] = {internAtom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                                internAtom(c, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(c, XCB_PROP_MODE_APPEND, wid, state, XCB_ATOM_ATOM, 32, 2, atoms);
    xcb_flush(c);
}

} // namespace pw::platform
