// The platform the dock asks Qt for, by the session it starts in.
#include "core/GuiPlatformChoice.h"

#include <gtest/gtest.h>

namespace
{

TEST(GuiPlatformChoice, EachSessionGetsTheWayThatLetsTheDockStandWhereItIsTold)
{
    struct Case {
        const char* name;
        bool userChose, wayland, x, plugin, layerShell;
        const char* platform;
        bool usesLayerShell, notice;
    };
    const Case cases[] = {
        {"X session", false, false, true, true, true, "", false, false},
        {"sway, Hyprland, Plasma", false, true, true, true, true, "wayland", true, false},
        {"layer shell without XWayland", false, true, false, true, true, "wayland", true, false},
        {"GNOME, weston: XWayland", false, true, true, true, false, "xcb", false, false},
        {"no Qt wayland plugin", false, true, true, false, true, "xcb", false, false},
        {"neither", false, true, false, true, false, "wayland", false, true},
        {"the user's own choice", true, true, true, true, true, "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int asked = 0;
        pw::SessionFacts facts{c.userChose, c.wayland, c.x, c.plugin, [&] {
                                   ++asked;
                                   return c.layerShell;
                               }};
        const pw::GuiPlatformChoice choice = pw::chooseGuiPlatform(facts);
        EXPECT_EQ(choice.platform, QString::fromLatin1(c.platform));
        EXPECT_EQ(choice.layerShell, c.usesLayerShell);
        EXPECT_EQ(!choice.notice.isEmpty(), c.notice);
        // The compositor is asked only in a Wayland session the user left to
        // the dock, and only when Qt could use the answer.
        EXPECT_EQ(asked, c.wayland && !c.userChose && c.plugin ? 1 : 0);
    }
}

} // namespace
