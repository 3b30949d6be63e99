// The arithmetic of a row of tiles longer than the screen: how much of the
// dock the window shows, where it stands, how the row scrolls and which tiles
// a part of it holds.
#include "core/Layout.h"

#include <gtest/gtest.h>

namespace
{

using namespace pw::layout;

const QRect kScreen(0, 0, 1920, 1080);

TEST(ShownWindow, CapsTheLengthAtTheScreenAndStartsTheRowOnIt)
{
    struct Case {
        const char* name;
        bool vertical;
        QRect frame;
        QRect screen;
        QRect shown;
    };
    const Case cases[] = {
        // A dock that fits keeps its frame, wherever it stands.
        {"fits", false, {400, 954, 1000, 126}, kScreen, {400, 954, 1000, 126}},
        {"fits, dragged off", false, {-300, -500, 196, 126}, kScreen, {-300, -500, 196, 126}},
        {"screen length - 1", false, {500, 954, 1919, 126}, kScreen, {500, 954, 1919, 126}},
        {"screen length", false, {500, 954, 1920, 126}, kScreen, {500, 954, 1920, 126}},
        // One pixel more: the window is the screen's length, from its start;
        // across the dock it keeps its place.
        {"screen length + 1", false, {500, 954, 1921, 126}, kScreen, {0, 954, 1920, 126}},
        {"a long row", false, {-1356, 954, 52040, 126}, kScreen, {0, 954, 1920, 126}},
        {"vertical fits", true, {0, 300, 126, 1080}, kScreen, {0, 300, 126, 1080}},
        {"vertical long row", true, {1794, 540, 126, 52040}, kScreen, {1794, 0, 126, 1080}},
        // No window is longer or wider than X can hold, whatever the screen.
        {"huge screen",
         false,
         {0, 0, 100000, 126},
         {0, 0, 50000, 1080},
         {0, 0, kMaxWindowExtent, 126}},
        {"too wide across", true, {0, 0, 40000, 500}, kScreen, {0, 0, kMaxWindowExtent, 500}},
        // On a monitor right of or below the first, a long row starts at
        // that monitor's start.
        {"second monitor",
         false,
         {2000, 954, 5000, 126},
         {1920, 0, 1920, 1080},
         {1920, 954, 1920, 126}},
        {"second monitor, vertical",
         true,
         {100, 1500, 126, 5000},
         {0, 1080, 1920, 1080},
         {100, 1080, 126, 1080}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(shownWindow(c.vertical, c.frame, c.screen), c.shown);
    }
}

TEST(Scrolling, TheWheelMovesAlongTheRowWithinItsEnds)
{
    const QRect frame(0, 954, 52040, 126);
    const QRect shown = shownWindow(false, frame, kScreen);
    const int max = maxScroll(false, frame, shown);
    EXPECT_EQ(max, 52040 - 1920);
    EXPECT_EQ(maxScroll(false, {0, 0, 1000, 126}, {0, 0, 1000, 126}), 0) << "a dock that fits";
    EXPECT_EQ(maxScroll(true, {0, 0, 126, 5000}, shownWindow(true, {0, 0, 126, 5000}, kScreen)),
              5000 - 1080);

    const Params p; // bw 48, gap 4
    const int step = wheelStep(p, 3);
    EXPECT_EQ(step, 3 * 52) << "three tile slots a notch";
    struct Case {
        int offset, delta, expected;
    };
    const Case cases[] = {
        {0, -120, 156},                         // a notch towards the user moves on along the row
        {156, 120, 0},                          // and back
        {0, 120, 0},                            // not before the start
        {max - 10, -120, max},                  // not past the end
        {max, -120, max},      {100, -60, 178}, // half a notch (a fine-grained wheel)
        {0, -240, 312},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.offset) + " " + std::to_string(c.delta));
        EXPECT_EQ(scrolledBy(c.offset, c.delta, step, max), c.expected);
    }
    EXPECT_EQ(scrolledBy(500, -120, step, 0), 0) << "nothing to scroll";
}

TEST(TilesInSpan, NamesTheTilesAPartOfTheRowTouches)
{
    // Horizontal: tile i spans [24 + 52 i, 72 + 52 i); vertical: [20 + 52 i, 68 + 52 i).
    Params horizontal;
    Params vertical;
    vertical.isVertical = true;
    vertical.mode = TRefrectMode::mleft;
    struct Case {
        const char* name;
        const Params& p;
        double start, length;
        int count;
        int first, last;
    };
    const Case cases[] = {
        {"the first screen", horizontal, 0, 1920, 1000, 0, 37}, // tile 36 starts at 1896
        {"a span ending where a tile starts", horizontal, 0, 76, 1000, 0, 1},
        {"a span ending one pixel into it", horizontal, 0, 77, 1000, 0, 2},
        {"a span starting where a tile ends", horizontal, 72, 10, 1000, 1, 2},
        {"a span starting one pixel before", horizontal, 71, 10, 1000, 0, 2},
        {"in the middle", horizontal, 52000, 1920, 100000, 999, 1037},
        {"the end of the row", horizontal, 50120, 1920, 1000, 963, 1000},
        {"fewer tiles than the span holds", horizontal, 0, 1920, 3, 0, 3},
        {"vertical", vertical, 0, 1080, 1000, 0, 21}, // tile 20 starts at 1060
        {"no tiles", horizontal, 0, 1920, 0, 0, 0},
        {"an empty span", horizontal, 100, 0, 1000, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IndexRange r = tilesInSpan(c.p, c.start, c.length, c.count);
        EXPECT_EQ(r.first, c.first);
        EXPECT_EQ(r.last, c.last);
    }
}

} // namespace
