#include "platform/KeyState.h"

#include <QGuiApplication>
#include <xcb/xcb.h>

namespace pw::platform
{

namespace
{

// Whether a key that carries a Shift keysym is down in the server's keymap.
bool shiftInKeymap(xcb_connection_t* c)
{
    const xcb_setup_t* setup = xcb_get_setup(c);
    const auto first = setup->min_keycode;
    const auto count = std::uint8_t(setup->max_keycode - first + 1);
    auto mapCookie = xcb_get_keyboard_mapping(c, first, count);
    auto keymapCookie = xcb_query_keymap(c);
    xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(c, mapCookie, nullptr);
    xcb_query_keymap_reply_t* keys = xcb_query_keymap_reply(c, keymapCookie, nullptr);
    bool down = false;
    if (map && keys) {
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
        const int per = map->keysyms_per_keycode;
        for (int k = 0; k < count && !down; ++k) {
            const xcb_keysym_t sym = per > 0 ? syms[k * per] : 0;
            if (sym != 0xffe1 && sym != 0xffe2) // XK_Shift_L, XK_Shift_R
                continue;
            const int code = first + k;
            down = (keys->keys[code / 8] >> (code % 8)) & 1;
        }
    }
    free(map);
    free(keys);
    return down;
}
} // namespace

bool isShiftDownNative()
{
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        return shiftInKeymap(x11->connection());
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

} // namespace pw::platform
