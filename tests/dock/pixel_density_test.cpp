// Tile pictures at the monitor's pixel density: made at the size they cover
// in device pixels and drawn one to one, and made again when the dock moves
// to a monitor of another density. Run at ratio 1 with the other dock tests,
// and again at ratios 1.5 and 2 and on two monitors of different ratios (see
// tests/CMakeLists.txt).
#include "../icons/icon_fixtures.h"
#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace
{

// An icon file with a picture of each size in a colour of its own, so the
// picture a tile shows tells which size was taken.
const QList<std::pair<int, QColor>> kSizes = {
    {48, QColor(200, 0, 0)}, {72, QColor(0, 160, 0)}, {96, QColor(0, 0, 200)}};

class PixelDensity : public DockFixture
{
protected:
    void SetUp() override
    {
        DockFixture::SetUp();
        QList<fixtures::IconImage> images;
        for (const auto& [side, colour] : kSizes)
            images.append(fixtures::pngImage(fixtures::solid(side, colour)));
        writeFile("app.ico", fixtures::icoFile(images));
        writeFile("PondwillowPath0.txt", (path("app.ico") + ",,tile\r\n").toUtf8());
    }

    static QColor colourFor(int side)
    {
        for (const auto& [s, colour] : kSizes) {
            if (s == side)
                return colour;
        }
        return {};
    }

    // The tile's picture and what the window shows at the tile's centre.
    static void expectCrisp(TForm1& f, qreal ratio)
    {
        const int side = int(std::ceil(48 * ratio - 1e-3));
        ASSERT_EQ(f.LaunchBtn.size(), 1);
        const QImage& picture = f.LaunchBtn[0]->Bitmap();
        EXPECT_EQ(picture.size(), QSize(side, side)) << "ratio " << ratio;
        EXPECT_EQ(picture.pixelColor(side / 2, side / 2), colourFor(side));
        QCoreApplication::processEvents();
        const QImage shown = f.form().view->grab().toImage();
        EXPECT_EQ(shown.devicePixelRatio(), ratio);
        const QPointF centre = f.form().view->mapFromScene(
            f.LaunchBtn[0]->mapToScene(f.LaunchBtn[0]->boundingRect().center()));
        EXPECT_EQ(shown.pixelColor((centre * ratio).toPoint()), colourFor(side));
    }
};

TEST_F(PixelDensity, ATilesPictureIsMadeAtTheMonitorsDevicePixels)
{
    writeIni(QStringLiteral("[Form]\nLeft=300\nTop=300\n"));
    TForm1& f = create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    expectCrisp(f, f.devicePixelRatioF());
}

// Run on two monitors, A at ratio 1 and B at ratio 2 (skipped elsewhere).
TEST_F(PixelDensity, MovedToADenserMonitorTheTilesAreMadeAgain)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() != 2 || screens[0]->devicePixelRatio() == screens[1]->devicePixelRatio())
        GTEST_SKIP() << "needs two monitors of different pixel ratios";
    pw::setMonitorsForTesting(std::nullopt);
    const QRect a = screens[0]->geometry();
    const QRect b = screens[1]->geometry();
    writeIni(QStringLiteral("[Form]\nLeft=%1\nTop=%2\n").arg(a.left() + 100).arg(a.top() + 100));
    TForm1& f = create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    EXPECT_EQ(f.screenRect(), a);
    expectCrisp(f, screens[0]->devicePixelRatio());

    f.SetLeft(b.left() + 100);
    f.SetTop(b.top() + 100);
    f.ReSetBtn();
    EXPECT_EQ(f.screenRect(), b);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.screen() == screens[1]; }));
    expectCrisp(f, screens[1]->devicePixelRatio());
}

} // namespace
