// The dock's monitor on a desktop of several, its edge kept on that monitor,
// and where it stands in when the monitor goes away.
#include "core/Layout.h"
#include "core/Monitors.h"

#include <gtest/gtest.h>

namespace
{

using namespace pw::monitors;

// A: 1920 x 1080 at the origin, primary; B: right of it and taller; C: a
// monitor left of and above the origin.
const QRect kA(0, 0, 1920, 1080);
const QRect kB(1920, 0, 2560, 1440);
const QRect kC(-1280, -1024, 1280, 1024);
const Monitors kDesktop{{kA, kB, kC}, 0};

TEST(Monitors, TheDockBelongsToTheMonitorUnderItsCentreElseThePrimary)
{
    struct Case {
        const char* name;
        QRect window;
        QSize current;
        QRect expected;
    };
    const Case cases[] = {
        {"on A", {800, 954, 300, 126}, kA.size(), kA},
        {"on B", {2500, 1314, 300, 126}, kA.size(), kB},
        {"on C, left of and above the origin", {-900, -200, 300, 126}, kA.size(), kC},
        // Straddling two monitors: the one holding more than half of it.
        {"mostly on B", {1800, 954, 300, 126}, kA.size(), kB},
        {"mostly on A", {1700, 954, 300, 126}, kA.size(), kA},
        // A position no monitor holds (a file from another desktop).
        {"below every monitor", {2500, 3000, 300, 126}, kA.size(), kA},
        // A row longer than its monitor counts at that monitor's length, so
        // it stays where it starts.
        {"long row on B", {1920, 1314, 20000, 126}, kB.size(), kB},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(monitorFor(kDesktop, c.window, c.current), c.expected);
    }
    EXPECT_EQ(monitorFor(Monitors{{kA, kB}, 1}, {5000, 5000, 10, 10}, kA.size()), kB)
        << "the primary monitor need not be the first";
    EXPECT_EQ(monitorFor(Monitors{}, {0, 0, 10, 10}, {}), QRect()) << "no monitor at all";
}

TEST(Monitors, EachEdgeHoldsTheDockOnItsOwnMonitor)
{
    struct Case {
        TRefrectMode mode;
        QRect window;
        QPoint expected;
    };
    // Beyond the monitor's edge the dock comes back to it; inside, it stays.
    const QSizeF panel(200, 96);
    const Case cases[] = {
        {TRefrectMode::mbottom, {2500, 1400, 300, 126}, {2500, 1440 - 126}},
        {TRefrectMode::mbottom, {2500, 1000, 300, 126}, {2500, 1000}},
        {TRefrectMode::mtop, {2500, -50, 300, 126}, {2500, 0}},
        {TRefrectMode::mright, {4400, 600, 126, 300}, {4480 - 126, 600}},
        {TRefrectMode::mright, {4000, 600, 126, 300}, {4000, 600}},
        {TRefrectMode::mleft, {1900, 600, 126, 300}, {1920, 600}},
        {TRefrectMode::mleft, {2000, 600, 126, 300}, {2000, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        EXPECT_EQ(pw::layout::keepOnScreen(c.mode, c.window, panel, kB), c.expected);
    }
}

TEST(Monitors, AStandInKeepsTheEdgeAndTheDistances)
{
    struct Case {
        const char* name;
        TRefrectMode mode;
        QRect window;
        QPoint expected;
    };
    // From B (taller, wider) to A.
    const Case cases[] = {
        {"bottom, at the edge", TRefrectMode::mbottom, {2500, 1314, 300, 126}, {580, 1080 - 126}},
        {"bottom, 10 above", TRefrectMode::mbottom, {2500, 1304, 300, 126}, {580, 1080 - 136}},
        {"top", TRefrectMode::mtop, {2500, 0, 300, 126}, {580, 0}},
        {"right", TRefrectMode::mright, {4480 - 126, 700, 126, 300}, {1920 - 126, 700}},
        {"left", TRefrectMode::mleft, {1920, 700, 126, 300}, {0, 700}},
        // Farther along than A is long: kept within A.
        {"bottom, far along", TRefrectMode::mbottom, {4000, 1314, 300, 126}, {1620, 954}},
        {"right, far down", TRefrectMode::mright, {4354, 1300, 126, 140}, {1794, 940}},
        // Longer than A: from A's start.
        {"longer than A", TRefrectMode::mbottom, {1920, 1314, 2400, 126}, {0, 954}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(standIn(c.mode, c.window, kB, kA), c.expected);
    }
}

} // namespace
