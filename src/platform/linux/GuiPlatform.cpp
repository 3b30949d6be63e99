#include "platform/GuiPlatform.h"

namespace pw::platform
{

// X11 and Wayland need nothing: Qt's own scaling already gives the dock the
// screen in logical pixels.
void configureGuiPlatform() {}

} // namespace pw::platform
