#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QBuffer>
#include <QDataStream>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsScene>
#include <QGraphicsSceneHoverEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QStyleOptionGraphicsItem>

namespace
{

using Layout = DockFixture;

struct Edge {
    const char* name;
    bool vertical;
};

QString edgeIni(const Edge& e, int xyoffset = 0, int backSize = 96, QPoint pos = {300, 300})
{
    return QStringLiteral("[Form]\nMode=%1\nLeft=%5\nTop=%6\n[Refrect]\nMode=%2\n"
                          "[Back]\nOffset=%3\nSize=%4\n")
        .arg(e.vertical ? 1 : 0)
        .arg(QLatin1String(e.name))
        .arg(xyoffset)
        .arg(backSize)
        .arg(pos.x())
        .arg(pos.y());
}

class LayoutFixture : public DockFixture
{
protected:
    // A group of n existing files.
    void writeGroup(int n)
    {
        QByteArray lines;
        for (int i = 0; i < n; ++i) {
            const QString name = QStringLiteral("f%1.txt").arg(i);
            writeFile(name, "x");
            lines += (path(name) + ",,tile " + QString::number(i) + "\r\n").toUtf8();
        }
        writeFile("PondwillowPath0.txt", lines);
    }
};

using Geometry = LayoutFixture;

TEST_F(Geometry, ThreeTilesAtEachEdge)
{
    struct Case {
        Edge edge;
        int xyoffset;
        QList<QPointF> tiles;
        QSize window;
    };
    const Case cases[] = {
        {{"mleft", true}, 0, {{24, 20}, {24, 72}, {24, 124}}, {126, 196}},
        {{"mright", true}, 0, {{54, 20}, {54, 72}, {54, 124}}, {126, 196}},
        {{"mtop", false}, 0, {{24, 24}, {76, 24}, {128, 24}}, {196, 126}},
        {{"mbottom", false}, 0, {{24, 54}, {76, 54}, {128, 54}}, {196, 126}},
        {{"mleft", true}, 10, {{34, 20}, {34, 72}, {34, 124}}, {136, 196}},
        {{"mright", true}, 10, {{54, 20}, {54, 72}, {54, 124}}, {136, 196}},
        {{"mtop", false}, 10, {{24, 34}, {76, 34}, {128, 34}}, {196, 136}},
        {{"mbottom", false}, 10, {{24, 54}, {76, 54}, {128, 54}}, {196, 136}},
        {{"mleft", true}, -10, {{14, 20}, {14, 72}, {14, 124}}, {136, 196}},
        {{"mright", true}, -10, {{74, 20}, {74, 72}, {74, 124}}, {136, 196}},
    };
    writeGroup(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.edge.name) + " xyoffset " + std::to_string(c.xyoffset));
        writeIni(edgeIni(c.edge, c.xyoffset));
        TForm1& f = create();
        ASSERT_EQ(f.LaunchBtn.size(), c.tiles.size());
        for (int i = 0; i < c.tiles.size(); ++i)
            EXPECT_EQ(f.LaunchBtn[i]->pos(), c.tiles[i]) << "tile " << i;
        EXPECT_EQ(QSize(f.Width(), f.Height()), c.window);
        EXPECT_EQ(f.geometry().size(), c.window) << "the real window follows";
        dock.reset();
    }
}

TEST_F(Geometry, PositionsKeepTheirHalfPixels)
{
    writeGroup(1);
    writeIni(edgeIni({"mleft", true}, 0, 97) + "[Icon]\nGapH=3\n");
    TForm1& f = create();
    EXPECT_EQ(f.LaunchBtn[0]->pos(), QPointF(24.5, 20));
    EXPECT_EQ(f.Width(), 97 + 30);
}

TEST_F(Geometry, TheDockIsKeptOnTheScreenAtItsOwnEdgeOnly)
{
    struct Case {
        Edge edge;
        QPoint stored;
        QPoint expected;
    };
    // Window 126 across, 92 long (one tile); screen 1920 x 1080.
    const Case cases[] = {
        {{"mbottom", false}, {500, 984}, {500, 954}}, // lower side 30 below the screen
        {{"mbottom", false}, {500, 924}, {500, 924}}, // 30 above it: stays
        {{"mbottom", false}, {-50, -80}, {-50, -80}}, // other sides are left alone
        {{"mtop", false}, {500, -40}, {500, 0}},      {{"mtop", false}, {500, 40}, {500, 40}},
        {{"mleft", true}, {-5, 300}, {0, 300}},       {{"mleft", true}, {5, 300}, {5, 300}},
        {{"mright", true}, {1824, 300}, {1794, 300}}, {{"mright", true}, {1700, 300}, {1700, 300}},
    };
    writeGroup(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.edge.name) + " " + std::to_string(c.stored.x()) + "," +
                     std::to_string(c.stored.y()));
        writeIni(edgeIni(c.edge, 0, 96, c.stored));
        TForm1& f = create();
        EXPECT_EQ(QPoint(f.Left(), f.Top()), c.expected);
        dock.reset();
    }
}

TEST_F(Geometry, AnEmptyDockLeavesOneSlotForTheDropZone)
{
    for (const Edge& e : {Edge{"mbottom", false}, Edge{"mleft", true}}) {
        SCOPED_TRACE(e.name);
        writeIni(edgeIni(e));
        TForm1& f = create();
        const int along = e.vertical ? f.Height() : f.Width();
        EXPECT_EQ(along, 40 + 48 + 4);
        EXPECT_TRUE(f.DropTarget1->isVisible());
        EXPECT_EQ(f.DropTarget1->boundingRect(), f.Rectangle1->boundingRect());
        dock.reset();
    }
}

TEST_F(Geometry, ReSetBtnLaysOutTheTilesInListOrderAndHidesTheDropZone)
{
    writeGroup(3);
    TForm1& f = create();
    f.DropTarget1->setVisible(true);
    TImage* first = f.LaunchBtn[0];
    f.LaunchBtn.move(0, 2);
    f.ReSetBtn();
    EXPECT_FALSE(f.DropTarget1->isVisible());
    EXPECT_EQ(first->pos(), QPointF(128, 54));
    EXPECT_EQ(f.LaunchBtn[0]->pos(), QPointF(24, 54));
    EXPECT_EQ(f.Width(), 196);
}

using Tiles = LayoutFixture;

TEST_F(Tiles, ATileHasItsThreeChildrenInOrder)
{
    struct Case {
        Edge edge;
        float rest, swingStart, swingStop;
        const char* jumpProperty;
        float jumpStart, jumpStop;
    };
    const Case cases[] = {
        {{"mleft", true}, 90, 45, 90, "x", 24, 54},
        {{"mright", true}, -90, -135, -90, "x", 54, 24},
        {{"mtop", false}, -180, -225, -180, "y", 24, 54},
        {{"mbottom", false}, 0, -45, 0, "y", 54, 24},
    };
    writeGroup(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edge.name);
        writeIni(edgeIni(c.edge));
        TForm1& f = create();
        TImage* tile = f.LaunchBtn.at(0);
        ASSERT_EQ(tile->children().size(), 3);
        auto* effect = qobject_cast<TReflectionEffect*>(tile->child(0));
        ASSERT_TRUE(effect);
        EXPECT_EQ(tile->graphicsEffect(), effect);
        EXPECT_DOUBLE_EQ(effect->Opacity(), 0.5);
        EXPECT_DOUBLE_EQ(effect->Length(), 0.5);

        auto* swing = qobject_cast<QPropertyAnimation*>(tile->child(1));
        ASSERT_TRUE(swing);
        EXPECT_EQ(swing->propertyName(), "rotation");
        EXPECT_EQ(swing->duration(), 100);
        EXPECT_FLOAT_EQ(swing->startValue().toFloat(), c.swingStart);
        EXPECT_FLOAT_EQ(swing->endValue().toFloat(), c.swingStop);
        EXPECT_FLOAT_EQ(float(tile->rotation()), c.rest);
        // The pointer entering the tile starts the swing, which ends at rest.
        QGraphicsSceneHoverEvent enter(QEvent::GraphicsSceneHoverEnter);
        f.scene()->sendEvent(tile, &enter);
        EXPECT_EQ(swing->state(), QAbstractAnimation::Running);
        EXPECT_FLOAT_EQ(float(tile->rotation()), c.swingStart);
        swing->setCurrentTime(100);
        EXPECT_FLOAT_EQ(float(tile->rotation()), c.rest);

        auto* jump = qobject_cast<QPropertyAnimation*>(tile->child(2));
        ASSERT_TRUE(jump);
        EXPECT_EQ(jump->propertyName(), c.jumpProperty);
        EXPECT_EQ(jump->duration(), 400);
        jump->start();
        jump->pause();
        const auto at = [&](int ms) {
            jump->setCurrentTime(ms);
            return float(std::string(c.jumpProperty) == "x" ? tile->x() : tile->y());
        };
        EXPECT_FLOAT_EQ(at(0), c.jumpStart);
        EXPECT_FLOAT_EQ(at(100), (c.jumpStart + c.jumpStop) / 2);
        EXPECT_FLOAT_EQ(at(200), c.jumpStop);
        EXPECT_FLOAT_EQ(at(400), c.jumpStart);
        jump->stop();
        dock.reset();
    }
}

TEST_F(Tiles, ShadowsReplaceReflectionsAndHoverChangesOnlyReflections)
{
    writeGroup(1);
    writeIni("[Icon]\nRefrection=0\n");
    TForm1& f = create();
    TImage* tile = f.LaunchBtn.at(0);
    auto* shadow = qobject_cast<QGraphicsDropShadowEffect*>(tile->child(0));
    ASSERT_TRUE(shadow);
    EXPECT_EQ(shadow->color().alphaF(), QColor(0, 0, 0, 153).alphaF());
    f.BtnMouseEnter(tile);
    EXPECT_EQ(f.mouseobj, tile);
    dock.reset();

    writeIni("[Refrect]\nOpa=0.25\nLength=5\n");
    TForm1& g = create();
    tile = g.LaunchBtn.at(0);
    auto* effect = qobject_cast<TReflectionEffect*>(tile->child(0));
    ASSERT_TRUE(effect);
    EXPECT_DOUBLE_EQ(effect->Length(), 1.0) << "length is kept within 0.1 to 1";
    g.BtnMouseEnter(tile);
    EXPECT_DOUBLE_EQ(effect->Opacity(), 1.0);
    g.BtnMouseLeave(tile);
    EXPECT_DOUBLE_EQ(effect->Opacity(), 0.25);
}

TEST_F(Tiles, HintsShowTheParameterFileName)
{
    writeFile("app.sh", "x");
    struct Case {
        const char* param;
        const char* hint;
        bool show;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\docs\\notes.txt", "Editor", true, "Editor -> notes.txt"},
        {"/home/me/notes.txt", "Editor", true, "Editor -> notes.txt"},
        {"", "Editor", true, "Editor"},
        {"-v", "", true, " -> -v"},
        {"C:\\docs\\notes.txt", "Editor", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.param);
        writeIni(QStringLiteral("[Hint]\nShow=%1\n").arg(c.show ? 1 : 0));
        writeFile("PondwillowPath0.txt",
                  (path("app.sh") + "," + c.param + "," + c.hint + "\r\n").toUtf8());
        TForm1& f = create();
        ASSERT_EQ(f.LaunchBtn.size(), 1);
        EXPECT_EQ(f.LaunchBtn[0]->toolTip(), QString::fromUtf8(c.expected));
        dock.reset();
    }
}

// Records the paints of a widget that cover all of it.
class WholePaints : public QObject
{
public:
    explicit WholePaints(QWidget* w) : widget_(w) { w->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o == widget_ && e->type() == QEvent::Paint &&
            static_cast<QPaintEvent*>(e)->rect() == widget_->rect())
            ++count;
        return false;
    }

private:
    QWidget* widget_;
};

TEST_F(Tiles, AJumpEndsInARepaintOfTheWholeDockThatLeavesTheWindowAsItWas)
{
    writeGroup(2);
    TForm1& f = create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTest::qWait(50);
    WholePaints paints(f.form().view->viewport());
    const QRect before = f.geometry();

    // The jump runs to its end, which hands over to the repaint.
    auto* jump = qobject_cast<QPropertyAnimation*>(f.LaunchBtn.at(1)->child(2));
    ASSERT_TRUE(jump);
    jump->start();
    jump->setCurrentTime(jump->totalDuration());
    ASSERT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }, 2000));
    EXPECT_EQ(f.geometry(), before);
    EXPECT_EQ(f.Width(), before.width());
}

// Renders the dock with a solid square as every icon and the panel hidden.
QImage renderDock(TForm1& f, QColor colour = Qt::red)
{
    f.Rectangle1->setOpacity(0);
    QImage square(48, 48, QImage::Format_ARGB32_Premultiplied);
    square.fill(colour);
    for (TImage* t : std::as_const(f.LaunchBtn))
        t->setBitmap(square);
    QImage out(f.Width(), f.Height(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    f.scene()->render(&p, QRectF(out.rect()), QRectF(out.rect()));
    return out;
}

TEST_F(Tiles, TheReflectionFacesTheScreenEdge)
{
    // One tile, 48 square, 24 from the window's side at the edge; the
    // reflection fills the gap between the tile and that side.
    struct Case {
        Edge edge;
        QPoint inReflection;
        QPoint opposite;
    };
    const Case cases[] = {
        {{"mleft", true}, {12, 44}, {90, 44}},
        {{"mright", true}, {114, 44}, {36, 44}},
        {{"mtop", false}, {48, 12}, {48, 90}},
        {{"mbottom", false}, {48, 114}, {48, 36}},
    };
    writeGroup(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edge.name);
        writeIni(edgeIni(c.edge));
        const QImage img = renderDock(create());
        EXPECT_GT(qAlpha(img.pixel(c.inReflection)), 0) << "no reflection on the edge side";
        EXPECT_EQ(qAlpha(img.pixel(c.opposite)), 0) << "something drawn on the far side";
        EXPECT_GT(qRed(img.pixel(c.inReflection)), 0);
        // A new picture gets a new reflection.
        const QImage again = renderDock(*dock, Qt::blue);
        EXPECT_EQ(qRed(again.pixel(c.inReflection)), 0) << "the old picture's reflection is shown";
        EXPECT_GT(qBlue(again.pixel(c.inReflection)), 0);
        dock.reset();
    }
}

// A tile too tall for one fill on the calling thread is drawn in bands of
// window rows: the tile and its mirror come out whole, upright or turned,
// with no row left out or drawn twice.
TEST_F(Tiles, ALargeTileAndItsMirrorDrawnInBandsAreWhole)
{
    writeGroup(1);
    writeIni(edgeIni({"mbottom", false}, 0, 200) + "[Icon]\nSize=100\n");
    TForm1& f = create();
    f.Rectangle1->setOpacity(0);
    TImage* tile = f.LaunchBtn.at(0);
    ASSERT_EQ(tile->Width(), 100);
    QImage square(100, 100, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::red);
    tile->setBitmap(square);
    const auto render = [&] {
        QImage out(f.Width(), f.Height(), QImage::Format_ARGB32_Premultiplied);
        out.fill(Qt::transparent);
        QPainter p(&out);
        f.scene()->render(&p, QRectF(out.rect()), QRectF(out.rect()));
        return out;
    };
    for (const qreal angle : {0.0, 30.0}) {
        SCOPED_TRACE(angle);
        tile->setRotation(angle);
        const QImage out = render();
        const QPoint centre = tile->sceneBoundingRect().center().toPoint();
        // Every pixel within the circle the square covers at any angle.
        int wrong = 0;
        for (int dy = -45; dy <= 45; ++dy)
            for (int dx = -45; dx <= 45; ++dx)
                wrong += dx * dx + dy * dy <= 45 * 45 &&
                         out.pixel(centre + QPoint(dx, dy)) != qRgb(255, 0, 0);
        EXPECT_EQ(wrong, 0);
        if (angle != 0)
            continue;
        // Upright, the mirror fades row by row from the tile's lower side.
        const int x = centre.x();
        int y = int(tile->sceneBoundingRect().bottom()) + 1;
        int previous = qAlpha(out.pixel(x, y));
        EXPECT_GT(previous, 0);
        for (++y; y < out.height() && qAlpha(out.pixel(x, y)) > 0; ++y) {
            const int alpha = qAlpha(out.pixel(x, y));
            EXPECT_LE(alpha, previous + 1) << "row " << y << " drawn twice";
            previous = alpha;
        }
        EXPECT_GE(y - tile->sceneBoundingRect().bottom(), 40) << "the mirror stops short";
    }
}

// An icon file holding one 48 x 48 PNG image: red above, blue below.
QByteArray twoColourIcon()
{
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 48; ++x)
            image.setPixelColor(x, y, Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QByteArray ico;
    QDataStream out(&ico, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(1);            // header: icon, one image
    out << quint8(48) << quint8(48) << quint8(0) << quint8(0) // size, colours
        << quint16(1) << quint16(32) << quint32(png.size()) << quint32(22);
    return ico + png;
}

TEST_F(Tiles, TheIconIsSeenUprightAtEveryEdge)
{
    writeFile("two.ico", twoColourIcon());
    writeFile("PondwillowPath0.txt", (path("two.ico") + ",,icon\r\n").toUtf8());
    for (const Edge& e :
         {Edge{"mleft", true}, Edge{"mright", true}, Edge{"mtop", false}, Edge{"mbottom", false}}) {
        SCOPED_TRACE(e.name);
        writeIni(edgeIni(e) + "[Icon]\nRefrection=0\n");
        TForm1& f = create();
        f.Rectangle1->setOpacity(0);
        QImage out(f.Width(), f.Height(), QImage::Format_ARGB32_Premultiplied);
        out.fill(Qt::transparent);
        QPainter p(&out);
        f.scene()->render(&p, QRectF(out.rect()), QRectF(out.rect()));
        p.end();
        const QRectF tile = f.LaunchBtn.at(0)->sceneBoundingRect();
        const QPoint upper = tile.center().toPoint() - QPoint(0, 12);
        const QPoint lower = tile.center().toPoint() + QPoint(0, 12);
        EXPECT_EQ(out.pixelColor(upper), QColor(Qt::red)) << "upper half";
        EXPECT_EQ(out.pixelColor(lower), QColor(Qt::blue)) << "lower half";
        dock.reset();
    }
}

using Background = DockFixture;

TEST_F(Background, ModesInOrderOfPrecedence)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(path("back.png")));
    writeFile("broken.png", "not a picture");
    const QString red = QString::number(qint32(0xFFFF0000));
    const QString blue = QString::number(qint32(0xFF0000FF));
    struct Case {
        QString ini;
        TRectangle::FillKind kind;
        QPointF start, stop;
    };
    const QString colours = "Color0=" + red + "\nColor1=" + blue + "\n";
    const Case cases[] = {
        {"Gradient=0\n", TRectangle::FillKind::Solid, {}, {}},
        {"Gradient=1\nDirection=0\n", TRectangle::FillKind::Gradient, {0, 0}, {0, 1}},
        {"Gradient=1\nDirection=1\n", TRectangle::FillKind::Gradient, {0, 0}, {1, 0}},
        {"Gradient=1\nDirection=2\n", TRectangle::FillKind::Gradient, {0, 0}, {1, 1}},
        {"Gradient=1\nDirection=5\n", TRectangle::FillKind::Gradient, {0, 0}, {0, 1}},
        {"Gradient=1\nImage=1\nImageFile=" + path("back.png") + "\n",
         TRectangle::FillKind::Bitmap,
         {},
         {}},
        // A missing or undecodable picture keeps the fill the panel had.
        {"Gradient=1\nImage=1\nImageFile=" + path("none.png") + "\n",
         TRectangle::FillKind::Solid,
         {},
         {}},
        {"Image=1\nImageFile=" + path("broken.png") + "\n", TRectangle::FillKind::Solid, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini.toStdString());
        writeIni("[Back]\n" + colours + c.ini);
        TForm1& f = create();
        TRectangle* r = f.Rectangle1;
        EXPECT_EQ(r->fillKind(), c.kind);
        if (c.kind == TRectangle::FillKind::Solid && !f.isGazou) {
            EXPECT_EQ(r->fillColor(), QColor(Qt::red));
        }
        if (c.kind == TRectangle::FillKind::Gradient) {
            EXPECT_EQ(r->gradientColor(0), QColor(Qt::red));
            EXPECT_EQ(r->gradientColor(1), QColor(Qt::blue));
            EXPECT_EQ(r->gradientStart(), c.start);
            EXPECT_EQ(r->gradientStop(), c.stop);
        }
        if (c.kind == TRectangle::FillKind::Bitmap) {
            EXPECT_EQ(r->fillBitmap().pixelColor(0, 0), QColor(Qt::green));
        }
        dock.reset();
    }
}

// The panel is drawn in bands of rows, each few enough in spans for the
// raster engine to fill on the calling thread (it shares out fills of 96
// spans or more to its thread pool). An antialiased row across a rounded
// corner holds up to about 14 spans, any other row one.
TEST(PanelBands, CoverTheExposedRowsOnceInBandsOfFewSpans)
{
    struct Case {
        QRectF panel, exposed;
    };
    const qreal radius = 10;
    const Case cases[] = {
        {{0, 0, 337, 81}, {0, 0, 337, 81}},
        {{0, 0, 1920, 300}, {0, 0, 1920, 300}},
        {{0, 0, 500, 130}, {40.5, 7.25, 120, 99.5}}, // a swing's changed area
        {{0, 0, 500, 130}, {-20, 120, 50, 40}},      // reaching past the panel
        {{0, 0, 90, 12}, {0, 0, 90, 12}},            // shorter than two corners
        {{0, 0, 90, 60}, {0, 200, 90, 20}},          // not on the panel at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("panel %1, exposed %2,%3 %4x%5")
                         .arg(c.panel.height())
                         .arg(c.exposed.x())
                         .arg(c.exposed.y())
                         .arg(c.exposed.width())
                         .arg(c.exposed.height())
                         .toStdString());
        const QRect shown = (c.exposed & c.panel).toAlignedRect();
        const QList<QRect> bands = TRectangle::paintBands(c.panel, c.exposed, radius);
        int row = shown.top();
        for (const QRect& band : bands) {
            EXPECT_EQ(band.top(), row) << "bands follow each other without gap or overlap";
            EXPECT_EQ(band.left(), shown.left());
            EXPECT_EQ(band.width(), shown.width());
            int spans = 0;
            for (int y = band.top(); y <= band.bottom(); ++y)
                spans += (y < c.panel.top() + radius || y >= c.panel.bottom() - radius) ? 14 : 1;
            EXPECT_LT(spans, 96) << "band at row " << band.top();
            row = band.bottom() + 1;
        }
        EXPECT_EQ(row, shown.isEmpty() ? shown.top() : shown.bottom() + 1);
    }
}

// Drawn in bands, the panel is the picture it is when drawn in one go, and a
// partial repaint draws exactly its part of it. (A gradient or a scaled
// picture may differ by a step of rounding where a band starts.)
TEST(PanelBands, DrawingInBandsLeavesNoSeam)
{
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 1 && std::abs(qGreen(a) - qGreen(b)) <= 1 &&
               std::abs(qBlue(a) - qBlue(b)) <= 1 && std::abs(qAlpha(a) - qAlpha(b)) <= 1;
    };
    QImage picture(7, 5, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixelColor(x, y, QColor::fromHsv((x * 40 + y * 15) % 360, 200, 220, 180));
    const QSizeF size(301, 131);
    const QRectF whole(QPointF(0, 0), size);
    for (const auto kind : {TRectangle::FillKind::Solid, TRectangle::FillKind::Gradient,
                            TRectangle::FillKind::Bitmap}) {
        SCOPED_TRACE(int(kind));
        TRectangle panel;
        panel.setSize(size);
        QPainterPath path;
        path.addRoundedRect(whole, panel.radius(), panel.radius());
        QImage expected(size.toSize(), QImage::Format_ARGB32_Premultiplied);
        expected.fill(Qt::transparent);
        QPainter e(&expected);
        e.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        switch (kind) {
        case TRectangle::FillKind::Solid:
            panel.setSolid(QColor(30, 120, 200, 150));
            e.fillPath(path, QColor(30, 120, 200, 150));
            break;
        case TRectangle::FillKind::Gradient: {
            panel.setGradient(Qt::red, QColor(0, 0, 255, 100));
            panel.setGradientPoints({0, 0}, {1, 1});
            QLinearGradient g(0, 0, 1, 1);
            g.setCoordinateMode(QGradient::ObjectMode);
            g.setColorAt(0, Qt::red);
            g.setColorAt(1, QColor(0, 0, 255, 100));
            e.fillPath(path, g);
            break;
        }
        case TRectangle::FillKind::Bitmap:
            panel.setBitmap(picture);
            e.setClipPath(path);
            e.drawImage(whole, picture);
            break;
        }
        e.end();
        for (const QRectF exposed : {whole, QRectF(40.5, 3.25, 120, 99.5)}) {
            QImage out(size.toSize(), QImage::Format_ARGB32_Premultiplied);
            out.fill(Qt::transparent);
            QPainter p(&out);
            QStyleOptionGraphicsItem option;
            option.exposedRect = exposed;
            panel.paint(&p, &option, nullptr);
            p.end();
            const QRect part = exposed.toAlignedRect();
            int wrong = 0;
            for (int y = 0; y < out.height(); ++y)
                for (int x = 0; x < out.width(); ++x)
                    wrong += !near(out.pixel(x, y), part.contains(x, y) ? expected.pixel(x, y) : 0);
            EXPECT_EQ(wrong, 0) << "exposed " << exposed.x() << "," << exposed.y();
        }
    }
}

// A repaint of a solid panel's plain middle fills whole pixels with its
// colour: exactly the pixels the rounded outline gives them, at any pixel
// ratio and wherever the panel stands on whole pixels; next to a corner, or
// on a panel not on whole pixels, the outline is drawn.
TEST(PanelBands, APlainMiddleIsFilledWithTheOutlinesOwnPixels)
{
    struct Case {
        qreal dpr;
        QPointF at;
        QSizeF size;
        QRectF exposed;
        bool plain;
    };
    const Case cases[] = {
        {1, {0, 0}, {337, 81}, {100.5, 0, 60, 81}, true},    // a swing behind the row
        {2, {0, 0}, {337, 81}, {100.5, 3.25, 60, 70}, true}, // on a dense screen
        {1.5, {2, 4}, {338, 80}, {100, 0, 60, 80}, true},
        {1, {0, 0}, {81, 337}, {0, 100, 81, 60}, true},    // a vertical dock
        {1, {0, 0}, {337, 81}, {5, 0, 60, 81}, false},     // reaching into a corner
        {1, {0, 0.5}, {337, 81}, {100, 0, 60, 81}, false}, // not on whole pixels
    };
    const QColor colour(30, 120, 200, 150);
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("ratio %1, at %2,%3, exposed %4,%5")
                         .arg(c.dpr)
                         .arg(c.at.x())
                         .arg(c.at.y())
                         .arg(c.exposed.x())
                         .arg(c.exposed.y())
                         .toStdString());
        TRectangle panel;
        panel.setSize(c.size);
        panel.setSolid(colour);
        const auto draw = [&](const QRectF& exposed) {
            const QSize pixels = ((c.size + QSizeF(10, 10)) * c.dpr).toSize();
            QImage out(pixels, QImage::Format_ARGB32_Premultiplied);
            out.setDevicePixelRatio(c.dpr);
            out.fill(Qt::transparent);
            QPainter p(&out);
            p.translate(c.at);
            QStyleOptionGraphicsItem option;
            option.exposedRect = exposed;
            panel.paint(&p, &option, nullptr);
            return out;
        };
        const QImage whole = draw(panel.boundingRect());
        const QImage part = draw(c.exposed);
        QTransform toDevice;
        toDevice.scale(c.dpr, c.dpr);
        toDevice.translate(c.at.x(), c.at.y());
        const QRect pixels =
            TRectangle::solidPixels(panel.boundingRect(), panel.radius(), toDevice, c.exposed);
        EXPECT_EQ(!pixels.isEmpty(), c.plain);
        if (!c.plain)
            continue;
        const QRect wanted = toDevice.mapRect(c.exposed).toAlignedRect();
        int wrong = 0;
        int painted = 0;
        for (int y = 0; y < part.height(); ++y) {
            for (int x = 0; x < part.width(); ++x) {
                const bool inside = wanted.contains(x, y);
                wrong += part.pixel(x, y) != (inside ? whole.pixel(x, y) : 0);
                painted += inside && qAlpha(part.pixel(x, y)) != 0;
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(painted, 0);
    }
}

TEST_F(Background, AHorizontalGradientRunsRedToBlueAndCornersAreRound)
{
    writeIni(
        "[Back]\nOpa=1\nGradient=1\nDirection=1\nColor0=" + QString::number(qint32(0xFFFF0000)) +
        "\nColor1=" + QString::number(qint32(0xFF0000FF)) + "\n");
    TForm1& f = create();
    const QRectF panel = f.Rectangle1->sceneBoundingRect();
    QImage out(f.Width(), f.Height(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    f.scene()->render(&p, QRectF(out.rect()), QRectF(out.rect()));
    p.end();
    const int y = int(panel.center().y());
    const QColor left = out.pixelColor(int(panel.left()) + 12, y);
    const QColor right = out.pixelColor(int(panel.right()) - 12, y);
    EXPECT_GT(left.red(), left.blue());
    EXPECT_GT(right.blue(), right.red());
    EXPECT_EQ(qAlpha(out.pixel(int(panel.left()), int(panel.top()))), 0) << "square corner";
}

} // namespace
