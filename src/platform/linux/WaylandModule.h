#pragma once

#include <QRect>

class QWidget;

namespace pw::platform
{

// What the Wayland module (pondwillow-wayland.so, loaded by LayerShell.cpp
// in a Wayland session only) gives the dock. A module of another build is
// refused by its version.
constexpr int kWaylandModuleVersion = 1;

struct WaylandModule {
    int version;
    // Asks the session's compositor, on a connection of its own, whether it
    // offers the layer shell. Usable before the application object exists.
    bool (*offersLayerShell)();
    // See LayerShell.h.
    void (*placeLayerSurface)(QWidget& window, QRect rect, QRect screen);
    void (*makeLayerPopup)(QWidget& popup);
};

// The module's file name. It lies beside the executable in the build tree
// and an unpacked folder, and in the build's PW_MODULE_DIR, counted from the
// executable's folder, when installed.
inline constexpr const char kWaylandModuleFile[] = "pondwillow-wayland.so";

} // namespace pw::platform

// The module's one exported symbol.
extern "C" const pw::platform::WaylandModule* pw_wayland_module();
