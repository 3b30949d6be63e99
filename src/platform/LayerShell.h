#pragma once

#include <QRect>

class QWidget;

namespace pw::platform
{

// Layer surfaces of a Wayland compositor. Built from linux/LayerShell.cpp,
// which loads the Wayland module in a Wayland session, when the protocol was
// at hand; elsewhere (Windows, or a build without it) LayerShellOff.cpp,
// where the calls do nothing and the window manager places the windows.

// Whether the session's compositor offers the layer shell: a short query on
// a connection of its own, before the application object exists.
bool compositorOffersLayerShell();

// Keeps `window`, a top-level widget, a layer surface of the compositor: at
// `rect` (desktop coordinates) on the monitor `screen`, anchored to that
// monitor's top-left corner, in the top layer while the window stays on top
// (Qt::WindowStaysOnTopHint) and the bottom one otherwise, without an
// exclusive zone, taking the keyboard when clicked. Qt makes the window's
// surface anew at every show; each new surface gets the role again. The
// first call marks the window to bypass the window manager, so that Qt gives
// it no shell role of its own: call it before the window is first shown.
// The window's tooltips show (Qt shows them only over the active window,
// which a layer surface never is), each a popup of the window's surface.
// Does nothing unless the start chose the layer shell
// (configureGuiPlatform) and the compositor offers it.
void placeLayerSurface(QWidget& window, QRect rect, QRect screen);

// Makes `popup`, a menu of a layer-surface window, a layer surface of its own
// in the overlay layer, wherever Qt puts it: with no shell surface behind the
// dock, a Wayland popup has no parent to stand on. Qt closes it as a popup
// when it is clicked outside within the program; a click on another program
// does not reach Qt and leaves it open. Call before it is first shown. Does
// nothing unless the dock's window is a layer surface.
void makeLayerPopup(QWidget& popup);

} // namespace pw::platform
