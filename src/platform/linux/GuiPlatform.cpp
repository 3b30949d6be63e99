#include "platform/GuiPlatform.h"

#include "core/GuiPlatformChoice.h"
#include "platform/LayerShell.h"

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
#include <cstdio>
#include <cstring>

namespace pw::platform
{

namespace
{

bool g_layerShell = false;

bool waylandPluginInstalled()
{
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("libqwayland*")}, QDir::Files).isEmpty();
}

bool platformArgument(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

} // namespace

// Under X, Qt's own scaling already gives the dock the screen in logical
// pixels and nothing is set. In a Wayland session the dock picks the way
// that lets it stand where it is told (see chooseGuiPlatform).
void configureGuiPlatform(int argc, char** argv)
{
    SessionFacts facts;
    facts.userChose =
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || platformArgument(argc, argv);
    facts.waylandDisplay = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    facts.xDisplay = !qEnvironmentVariableIsEmpty("DISPLAY");
    if (facts.waylandDisplay && !facts.userChose)
        facts.waylandPlugin = waylandPluginInstalled();
    facts.offersLayerShell = compositorOffersLayerShell;
    const GuiPlatformChoice choice = chooseGuiPlatform(facts);
    if (!choice.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", choice.platform.toLocal8Bit());
    g_layerShell = choice.layerShell;
    // A window that Qt gives no shell role of its own, so that the dock can
    // give it the layer surface's.
    if (g_layerShell)
        qputenv("QT_WAYLAND_USE_BYPASSWINDOWMANAGERHINT", QByteArrayLiteral("1"));
    if (!choice.notice.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(choice.notice));
}

bool usesLayerShell()
{
    return g_layerShell;
}

} // namespace pw::platform
