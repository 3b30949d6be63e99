// Clicks the left button at a point of a Wayland compositor's output, or
// drags with it from there to a second point, through a virtual pointer: a
// headless compositor's seat has no pointer of its own.
// Usage: pw_e2e_wl_click [-r] X Y WIDTH HEIGHT [TO_X TO_Y]  (-r: the right
// button; WIDTH HEIGHT: the output's size).
// Or: pw_e2e_wl_click -m WIDTH HEIGHT  moves the pointer, without a button,
// to each "X Y" line read from the standard input, and keeps it there until
// the input ends: the pointer lives as long, for the compositor takes a
// destroyed pointer's surface away from the client (it hears the pointer
// leave).
#include <wayland-client.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <linux/input-event-codes.h>
#include <unistd.h>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace
{

zwlr_virtual_pointer_manager_v1* g_manager = nullptr;

void onGlobal(void*, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t)
{
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        g_manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}

void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}

// The -m mode: each point, reached by a step of one pixel so that the client
// hears the pointer move over it, is held until the next line.
void hover(zwlr_virtual_pointer_v1* pointer, wl_display* display, std::uint32_t w, std::uint32_t h)
{
    std::uint32_t t = 1;
    int x = 0;
    int y = 0;
    while (std::scanf("%d %d", &x, &y) == 2) {
        for (int dx = 1; dx >= 0; --dx) {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, t++, std::uint32_t(x + dx),
                                                    std::uint32_t(y), w, h);
            zwlr_virtual_pointer_v1_frame(pointer);
            wl_display_roundtrip(display);
            usleep(50000);
        }
    }
}

zwlr_virtual_pointer_v1* makePointer(wl_display* display)
{
    static const wl_registry_listener listener = {onGlobal, onGlobalRemove};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, nullptr);
    wl_display_roundtrip(display);
    if (!g_manager) {
        std::fprintf(stderr, "the compositor has no virtual pointer\n");
        return nullptr;
    }
    return zwlr_virtual_pointer_manager_v1_create_virtual_pointer(g_manager, nullptr);
}

void release(zwlr_virtual_pointer_v1* pointer, wl_display* display)
{
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
}

} // namespace

int main(int argc, char** argv)
{
    const bool moveOnly = argc == 4 && std::strcmp(argv[1], "-m") == 0;
    std::uint32_t button = BTN_LEFT;
    if (argc > 1 && std::strcmp(argv[1], "-r") == 0) {
        button = BTN_RIGHT;
        --argc;
        ++argv;
    }
    if (!moveOnly && argc != 5 && argc != 7) {
        std::fprintf(stderr, "usage: pw_e2e_wl_click [-r] X Y WIDTH HEIGHT [TO_X TO_Y]\n"
                             "       pw_e2e_wl_click -m WIDTH HEIGHT  (X Y lines on stdin)\n");
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer = makePointer(display);
    if (!pointer)
        return 1;
    if (moveOnly) {
        hover(pointer, display, std::uint32_t(std::atoi(argv[2])),
              std::uint32_t(std::atoi(argv[3])));
        release(pointer, display);
        return 0;
    }
    const auto x = std::uint32_t(std::atoi(argv[1]));
    const auto y = std::uint32_t(std::atoi(argv[2]));
    const auto w = std::uint32_t(std::atoi(argv[3]));
    const auto h = std::uint32_t(std::atoi(argv[4]));
    std::uint32_t t = 1;
    // Onto the point, a pause so the client sees the pointer enter, then the
    // press and the release.
    zwlr_virtual_pointer_v1_motion_absolute(pointer, t++, x, y, w, h);
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_roundtrip(display);
    usleep(100000);
    zwlr_virtual_pointer_v1_button(pointer, t++, button, WL_POINTER_BUTTON_STATE_PRESSED);
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_roundtrip(display);
    usleep(50000);
    if (argc == 7) {
        // Ten steps of 50 ms to the second point, then a pause before the
        // release.
        const int toX = std::atoi(argv[5]);
        const int toY = std::atoi(argv[6]);
        for (int i = 1; i <= 10; ++i) {
            const int px = int(x) + (toX - int(x)) * i / 10;
            const int py = int(y) + (toY - int(y)) * i / 10;
            zwlr_virtual_pointer_v1_motion_absolute(pointer, t++, std::uint32_t(px),
                                                    std::uint32_t(py), w, h);
            zwlr_virtual_pointer_v1_frame(pointer);
            wl_display_roundtrip(display);
            usleep(50000);
        }
        usleep(200000);
    }
    zwlr_virtual_pointer_v1_button(pointer, t++, button, WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_roundtrip(display);
    release(pointer, display);
    return 0;
}
