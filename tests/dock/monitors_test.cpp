// The dock on a desktop of several monitors: the monitor it lives on, its
// edge kept on that monitor, and monitors that go away and come back.
#include "support/DockFixture.h"

#include <QRegularExpression>
#include <climits>

// Points read as x,y in a failure.
static void PrintTo(const QPoint& p, std::ostream* os)
{
    *os << p.x() << ',' << p.y();
}

namespace
{

// A: primary, at the origin; B: right of it and taller.
const QRect kA(0, 0, 1920, 1080);
const QRect kB(1920, 0, 1920, 1440);

class TwoMonitors : public DockFixture
{
protected:
    void SetUp() override
    {
        DockFixture::SetUp();
        plugB(true);
        writeFile("f0.txt", "x");
        writeFile("PondwillowPath0.txt", (path("f0.txt") + ",,tile\r\n").toUtf8());
    }

    static void plugB(bool on)
    {
        pw::setMonitorsForTesting(on ? pw::monitors::Monitors{{kA, kB}, 0}
                                     : pw::monitors::Monitors{{kA}, 0});
    }

    void writePlace(const char* edge, bool vertical, QPoint pos)
    {
        writeIni(QStringLiteral("[Form]\nMode=%1\nLeft=%2\nTop=%3\n[Refrect]\nMode=%4\n")
                     .arg(vertical ? 1 : 0)
                     .arg(pos.x())
                     .arg(pos.y())
                     .arg(QLatin1String(edge)));
    }

    QPoint savedPlace()
    {
        dock->WriteIniFile();
        const QString ini = QString::fromUtf8(readFile("Pondwillow.ini"));
        const auto value = [&ini](const QString& key) {
            const auto match =
                QRegularExpression(QStringLiteral("\\n%1=(-?\\d+)").arg(key)).match(ini);
            return match.hasMatch() ? match.captured(1).toInt() : INT_MIN;
        };
        return {value(QStringLiteral("Left")), value(QStringLiteral("Top"))};
    }

    QPoint place() const { return {dock->Left(), dock->Top()}; }
};

TEST_F(TwoMonitors, ADockStoredOnTheSecondMonitorIsKeptThereAtEachEdge)
{
    struct Case {
        const char* edge;
        bool vertical;
        QPoint stored;
        QPoint expected; // one tile: 92 long, 126 across
    };
    const Case cases[] = {
        {"mbottom", false, {2500, 1350}, {2500, 1440 - 126}}, // B's bottom, not A's
        {"mbottom", false, {2500, 700}, {2500, 700}},         // below A's bottom, inside B
        {"mtop", false, {2500, -40}, {2500, 0}},
        {"mright", true, {3760, 300}, {3840 - 126, 300}}, // B's right edge
        {"mleft", true, {1910, 300}, {1920, 300}},        // B's left edge, not A's
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edge);
        writePlace(c.edge, c.vertical, c.stored);
        TForm1& f = create();
        EXPECT_EQ(f.screenRect(), kB);
        EXPECT_EQ(QSizeF(f.scx, f.scy), QSizeF(kB.size()));
        EXPECT_EQ(place(), c.expected);
        EXPECT_EQ(f.geometry().topLeft(), c.expected) << "the real window follows";
        f.SetMenu(0);
        EXPECT_EQ(place(), c.expected) << "after a layout pass";
        EXPECT_EQ(savedPlace(), c.expected);
        dock.reset();
    }
}

TEST_F(TwoMonitors, ANewDockStartsInThePrimaryMonitorsCentre)
{
    pw::setMonitorsForTesting(pw::monitors::Monitors{{kA, kB}, 1});
    TForm1& f = create(false);
    EXPECT_EQ(f.screenRect(), kB);
    EXPECT_EQ(place(), QPoint(1920 + 960, 720));
}

TEST_F(TwoMonitors, AGoneMonitorsDockStandsInOnThePrimaryAndGoesBack)
{
    const QPoint onB(2500, 1440 - 126);
    writePlace("mbottom", false, onB);
    TForm1& f = create();
    ASSERT_EQ(place(), onB);

    plugB(false);
    f.screensChanged();
    EXPECT_EQ(f.screenRect(), kA);
    EXPECT_EQ(place(), QPoint(580, 1080 - 126)) << "A's bottom, as far along as on B";
    EXPECT_EQ(f.geometry().topLeft(), place());
    EXPECT_EQ(savedPlace(), onB) << "the settings keep the position on B";
    f.SetMenu(0);
    EXPECT_EQ(place(), QPoint(580, 1080 - 126)) << "a layout pass keeps it on A";

    plugB(true);
    f.screensChanged();
    EXPECT_EQ(f.screenRect(), kB);
    EXPECT_EQ(place(), onB);
    EXPECT_EQ(savedPlace(), onB);
}

TEST_F(TwoMonitors, APositionNoMonitorHoldsComesBackOnThePrimary)
{
    // A file from a desktop whose second monitor is gone: the dock is pulled
    // back until 32 pixels of it show, and that is the position from now on.
    plugB(false);
    writePlace("mbottom", false, {2500, 954});
    TForm1& f = create();
    EXPECT_EQ(f.screenRect(), kA);
    EXPECT_EQ(place(), QPoint(1920 - 32, 954));
    EXPECT_EQ(savedPlace(), QPoint(1920 - 32, 954));
}

} // namespace
