#include "platform/LayerShell.h"

namespace pw::platform
{

// Windows has no layer surfaces: the window manager places the dock.
bool layerShellBuilt()
{
    return false;
}

bool layerShellActive()
{
    return false;
}

void placeLayerSurface(QWidget&, QRect, QRect) {}

void makeLayerPopup(QWidget&) {}

} // namespace pw::platform
