#pragma once

namespace pw::platform
{

// Settings of Qt's platform plugin for this system, made before the
// application object exists (the plugin reads them when it starts).
void configureGuiPlatform();

} // namespace pw::platform
