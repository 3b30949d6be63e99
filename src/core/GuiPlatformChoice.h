#pragma once

#include <QString>

#include <functional>

// Which of Qt's platforms the dock runs on in the session it starts in. Under
// X the choice is Qt's own. In a Wayland session an ordinary window gets no
// say over where it goes, so the dock prefers, in order: a layer surface
// (compositors with the wlr layer shell: sway, Hyprland, KDE Plasma), X
// through XWayland (GNOME, weston), and last a plain Wayland window that the
// compositor places.
namespace pw
{

struct SessionFacts {
    bool userChose = false;      // QT_QPA_PLATFORM or -platform given
    bool waylandDisplay = false; // WAYLAND_DISPLAY set
    bool xDisplay = false;       // DISPLAY set (XWayland is there)
    bool waylandPlugin = false;  // Qt's wayland platform plugin is installed
    // Asked only when its answer matters: a short query of the compositor.
    std::function<bool()> offersLayerShell;
};

struct GuiPlatformChoice {
    QString platform;        // for QT_QPA_PLATFORM; empty: Qt's own choice
    bool layerShell = false; // the dock makes its window a layer surface
    QString notice;          // one line for standard error, or empty
};

GuiPlatformChoice chooseGuiPlatform(const SessionFacts& facts);

} // namespace pw
