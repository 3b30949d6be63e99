// Reports when new top-level windows are first drawn into. It watches the
// root window for windows being created, asks the X server (DAMAGE
// extension) to report the first drawing into each, and for each window
// that carries a process id (_NET_WM_PID: a program's own window, not a
// window manager's frame) prints one line
//     PID SECONDS.MICROSECONDS WINDOW
// with the wall-clock time the report arrived, then goes on watching. It
// prints "ready" once it is watching. Usage: first_frame (on $DISPLAY)
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/time.h>

static xcb_atom_t intern(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return atom;
}

// The window's _NET_WM_PID, or 0 when it has none.
static uint32_t windowPid(xcb_connection_t* c, xcb_window_t w, xcb_atom_t pidAtom)
{
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    uint32_t pid = 0;
    if (r && xcb_get_property_value_length(r) == 4)
        memcpy(&pid, xcb_get_property_value(r), 4);
    free(r);
    return pid;
}

int main(void)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        fprintf(stderr, "first_frame: cannot open the display\n");
        return 1;
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damage || !damage->present) {
        fprintf(stderr, "first_frame: the X server has no DAMAGE extension\n");
        return 1;
    }
    free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const xcb_atom_t pidAtom = intern(c, "_NET_WM_PID");
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    printf("ready\n");
    fflush(stdout);

    xcb_generic_event_t* e;
    while ((e = xcb_wait_for_event(c))) {
        const uint8_t type = e->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            // A level of "non-empty" reports the first drawing once and no
            // more, as nothing takes the damage away again.
            const xcb_create_notify_event_t* created =
                reinterpret_cast<const xcb_create_notify_event_t*>(e);
            xcb_damage_create(c, xcb_generate_id(c), created->window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(c);
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            struct timeval now;
            gettimeofday(&now, nullptr);
            const xcb_damage_notify_event_t* drawn =
                reinterpret_cast<const xcb_damage_notify_event_t*>(e);
            const uint32_t pid = windowPid(c, drawn->drawable, pidAtom);
            if (pid != 0) {
                printf("%u %lld.%06ld 0x%x\n", pid, static_cast<long long>(now.tv_sec),
                       static_cast<long>(now.tv_usec), drawn->drawable);
                fflush(stdout);
            }
        }
        // Errors (a window gone before its damage was asked for) are let be.
        free(e);
    }
    return 0;
}
