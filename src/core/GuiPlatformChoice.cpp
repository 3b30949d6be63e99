#include "core/GuiPlatformChoice.h"

namespace pw
{

GuiPlatformChoice chooseGuiPlatform(const SessionFacts& facts)
{
    if (facts.userChose || !facts.waylandDisplay)
        return {};
    if (facts.waylandPlugin && facts.offersLayerShell && facts.offersLayerShell())
        return {QStringLiteral("wayland"), true, {}};
    if (facts.xDisplay)
        return {QStringLiteral("xcb"), false, {}};
    return {QStringLiteral("wayland"), false,
            QStringLiteral("pondwillow: this Wayland compositor offers neither a layer shell nor "
                           "XWayland: it decides where the dock goes")};
}

} // namespace pw
