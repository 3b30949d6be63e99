#pragma once

namespace pw::platform
{

// Settings of Qt's platform plugin for this system, made before the
// application object exists (the plugin reads them when it starts). Takes
// the program's arguments, where the user may have chosen a platform.
void configureGuiPlatform(int argc, char** argv);

// Whether the dock's window is to be a Wayland layer surface (chosen by
// configureGuiPlatform); false on every other system.
bool usesLayerShell();

} // namespace pw::platform
