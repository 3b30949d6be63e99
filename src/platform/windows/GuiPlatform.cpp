#include "platform/GuiPlatform.h"

#include <QByteArray>

namespace pw::platform
{

// The manifest (src/Pondwillow.manifest) declares the process DPI-unaware,
// so that the dock works in logical pixels and the system scales its window.
// Qt 6 makes the process per-monitor DPI-aware by itself when its Windows
// plugin starts, unless the plugin's dpiawareness option says otherwise.
void configureGuiPlatform(int, char**)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("windows:dpiawareness=0"));
}

bool usesLayerShell()
{
    return false;
}

} // namespace pw::platform
