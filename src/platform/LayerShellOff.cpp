#include "platform/LayerShell.h"

namespace pw::platform
{

// No layer surfaces on this system or in this build: the window manager
// places the dock and its menus.
bool compositorOffersLayerShell()
{
    return false;
}

void placeLayerSurface(QWidget&, QRect, QRect) {}

void makeLayerPopup(QWidget&) {}

} // namespace pw::platform
