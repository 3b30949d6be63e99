#include "platform/GuiPlatform.h"

#include "core/GuiPlatformChoice.h"

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
#include <cstdio>
#include <cstring>

#ifdef PW_HAVE_LAYER_SHELL
#include <wayland-client.h>
#endif

namespace pw::platform
{

namespace
{

bool g_layerShell = false;

// Whether the compositor of the session announces the wlr layer shell: one
// connection, one round trip for the list of globals, closed again before Qt
// makes its own.
bool compositorOffersLayerShell()
{
#ifdef PW_HAVE_LAYER_SHELL
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return false;
    bool offered = false;
    static const wl_registry_listener listener = {
        [](void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
            if (std::strcmp(interface, "zwlr_layer_shell_v1") == 0)
                *static_cast<bool*>(data) = true;
        },
        [](void*, wl_registry*, uint32_t) {}};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &offered);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return offered;
#else
    // Built without the layer shell: the dock cannot use one.
    return false;
#endif
}

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
