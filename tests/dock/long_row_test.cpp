// A group with more tiles than the screen can hold: the window stays on the
// screen and within what X can hold, its first tile is on the screen, and the
// mouse wheel brings every tile into the window, where it can be hovered and
// clicked.
#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QGraphicsView>
#include <QWheelEvent>

#include <algorithm>
#include <mutex>

namespace
{

class LongRow : public DockFixture
{
protected:
    // n entries, all naming one file, with hints "tile 0", "tile 1"...
    void writeGroup(int n)
    {
        writeFile("f.txt", "x");
        QByteArray lines;
        const QByteArray file = path("f.txt").toUtf8();
        for (int i = 0; i < n; ++i)
            lines += file + ",,tile " + QByteArray::number(i) + "\r\n";
        writeFile("PondwillowPath0.txt", lines);
    }

    QGraphicsView& view() { return *dock->form().view; }

    // Where the middle of a tile is in the view's viewport.
    QPoint centreOf(TImage* tile)
    {
        return view().mapFromScene(tile->sceneBoundingRect().center());
    }

    bool inWindow(TImage* tile)
    {
        return view().viewport()->rect().contains(
            view().mapFromScene(tile->sceneBoundingRect()).boundingRect());
    }

    // One notch of the wheel: towards the user (forward along the row) or away.
    void wheel(int notches)
    {
        QWidget* vp = view().viewport();
        const QPointF at(vp->width() / 2.0, vp->height() / 2.0);
        QWheelEvent e(at, vp->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(vp, &e);
    }
};

struct Edge {
    const char* name;
    bool vertical;
};

TEST_F(LongRow, TheWindowStaysOnTheScreenWithItsFirstTileOnIt)
{
    writeGroup(1000);
    for (const Edge& e :
         {Edge{"mbottom", false}, Edge{"mtop", false}, Edge{"mleft", true}, Edge{"mright", true}}) {
        SCOPED_TRACE(e.name);
        // Stored where a long row used to push the window off the screen.
        writeIni(QStringLiteral("[Form]\nMode=%1\nLeft=700\nTop=300\n[Refrect]\nMode=%2\n")
                     .arg(e.vertical ? 1 : 0)
                     .arg(QLatin1String(e.name)));
        TForm1& f = create();
        ASSERT_EQ(f.LaunchBtn.size(), 1000);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        // The dock's frame holds the whole row; the window shows the screen's length of it.
        EXPECT_EQ(e.vertical ? f.Height() : f.Width(), 40 + 1000 * 52);
        const QRect window = f.geometry();
        const QRect screen(0, 0, 1920, 1080);
        EXPECT_LE(window.width(), pw::layout::kMaxWindowExtent);
        EXPECT_LE(window.height(), pw::layout::kMaxWindowExtent);
        EXPECT_EQ(e.vertical ? window.height() : window.width(), e.vertical ? 1080 : 1920);
        EXPECT_EQ(e.vertical ? window.top() : window.left(), 0);
        EXPECT_TRUE(screen.contains(window)) << window.x() << "," << window.y();
        EXPECT_EQ(QPoint(f.Left(), f.Top()), window.topLeft())
            << "the stored place is the shown one";
        // The first tile is in the window, so on the screen, where a pass puts it.
        TImage* first = f.LaunchBtn.first();
        EXPECT_TRUE(inWindow(first));
        EXPECT_EQ(centreOf(first),
                  e.vertical ? QPoint(first->x() + 24, 44) : QPoint(48, first->y() + 24));
        EXPECT_TRUE(screen.contains(QRect(window.topLeft() + centreOf(first), QSize(1, 1))));
        EXPECT_FALSE(inWindow(f.LaunchBtn.last()));
        // Only tiles that have been on the screen have their pictures made.
        EXPECT_FALSE(first->Bitmap().isNull());
        EXPECT_TRUE(f.LaunchBtn.last()->Bitmap().isNull());
        dock.reset();
    }
}

TEST_F(LongRow, TheWheelBringsEveryTileWithinReach)
{
    writeGroup(1000);
    TForm1& f = create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    // The screen's width of tiles is made; an entry out of sight has no tile.
    const auto made = [&] { return f.LaunchBtn.madeTiles().size(); };
    const qsizetype onScreen = made();
    EXPECT_LE(onScreen, 1920 / 52 + 2);
    EXPECT_EQ(f.LaunchBtn.madeAt(999), nullptr);
    // Asked for, it is made, off screen and without effect, animations or
    // picture yet.
    EXPECT_TRUE(f.LaunchBtn.last()->children().isEmpty());
    EXPECT_TRUE(f.LaunchBtn.last()->Bitmap().isNull());

    const auto lastInWindow = [&] {
        TImage* tile = f.LaunchBtn.madeAt(999);
        return tile && inWindow(tile);
    };
    int notches = 0;
    qsizetype mostMade = 0;
    while (!lastInWindow() && notches < 1000) {
        wheel(1);
        ++notches;
        mostMade = std::max(mostMade, made());
    }
    ASSERT_TRUE(lastInWindow()) << "after " << notches << " notches";
    // The tiles scrolled away were given back on the way.
    // (A partly shown tile at each end, and the keyboard's tile, which stays.)
    EXPECT_LE(mostMade, onScreen + 2);
    TImage* last = f.LaunchBtn.last();
    EXPECT_EQ(f.LaunchBtn.madeAt(1), nullptr);
    EXPECT_FALSE(inWindow(f.LaunchBtn.first()));
    EXPECT_EQ(f.geometry().width(), 1920) << "scrolling leaves the window as it was";
    // More turns stop at the end of the row.
    const QPoint end = centreOf(last);
    wheel(5);
    EXPECT_EQ(centreOf(last), end);
    EXPECT_GT(end.x(), 1920 - 72);

    // The tile is drawn with its effect and shows its hint; the pointer
    // reaches it and a click launches its entry.
    EXPECT_TRUE(last->isVisible());
    ASSERT_EQ(last->children().size(), 3);
    EXPECT_TRUE(qobject_cast<TReflectionEffect*>(last->child(0)));
    EXPECT_EQ(last->graphicsEffect(), last->child(0));
    // Its picture, made only now, is the one every tile of the same file has.
    ASSERT_FALSE(last->Bitmap().isNull());
    EXPECT_EQ(last->Bitmap().cacheKey(), f.LaunchBtn[990]->Bitmap().cacheKey());
    EXPECT_EQ(last->toolTip(), QStringLiteral("tile 999"));
    EXPECT_EQ(view().itemAt(end), last);
    QTest::mouseMove(view().viewport(), end);
    EXPECT_EQ(f.mouseobj, last);
    // The launch runs on a thread of its own.
    std::mutex mutex;
    QStringList launched;
    pw::platform::setShellLaunchForTesting(
        [&](const QString& file, const QString&, const QString&) {
            const std::lock_guard<std::mutex> lock(mutex);
            launched << file;
        });
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, end);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const std::lock_guard<std::mutex> lock(mutex);
        return !launched.isEmpty();
    }));
    {
        const std::lock_guard<std::mutex> lock(mutex);
        EXPECT_EQ(launched, QStringList{path("f.txt")});
    }
    auto* jump = qobject_cast<QPropertyAnimation*>(last->child(2));
    ASSERT_TRUE(jump);
    EXPECT_EQ(jump->state(), QAbstractAnimation::Running) << "the clicked tile jumps";

    // And back to the start.
    wheel(-notches - 5);
    EXPECT_TRUE(inWindow(f.LaunchBtn.first()));
    EXPECT_EQ(view().itemAt(centreOf(f.LaunchBtn.first())), f.LaunchBtn.first());
}

TEST_F(LongRow, AFileDroppedOnALongRowIsScrolledIntoSight)
{
    writeGroup(1000);
    writeFile("new.txt", "x");
    TForm1& f = create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.AddMenuClick();
    f.DropTarget1DragDrop({path("new.txt")});
    ASSERT_EQ(f.LaunchBtn.size(), 1001);
    TImage* added = f.LaunchBtn.last();
    EXPECT_TRUE(inWindow(added));
    EXPECT_FALSE(added->Bitmap().isNull()) << "the new tile is not drawn";
    EXPECT_EQ(view().itemAt(centreOf(added)), added);
    // The wheel goes on from there, back to the start.
    wheel(-2000);
    EXPECT_TRUE(inWindow(f.LaunchBtn.first()));
}

TEST_F(LongRow, HomeAndEndBringTheRowToItsStartAndEnd)
{
    writeGroup(1000);
    TForm1& f = create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTest::keyClick(&f, Qt::Key_End);
    EXPECT_TRUE(inWindow(f.LaunchBtn.last()));
    EXPECT_FALSE(f.LaunchBtn.last()->Bitmap().isNull()) << "the last tile is not drawn";
    QTest::keyClick(&f, Qt::Key_Home);
    EXPECT_TRUE(inWindow(f.LaunchBtn.first()));
    EXPECT_FALSE(inWindow(f.LaunchBtn.last()));
    EXPECT_EQ(f.geometry().width(), 1920) << "scrolling leaves the window as it was";
}

// Every command that addresses tile i works at the far end of a long row,
// where the tiles were made by scrolling, on the entry the tile shows.
TEST_F(LongRow, TheFarEndOfALongRowCanBeMovedDeletedAndEdited)
{
    struct Editors : pw::EditorOpener {
        QStringList opened;
        void openSettings() override {}
        void openParameters(const QString& line) override { opened << line; }
    } editors;
    writeGroup(1000);
    TForm1& f = create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.setEditorWindows(&editors);
    const auto hints = [&] {
        QStringList out;
        for (const QByteArray& line : readFile("PondwillowPath0.txt").split('\n')) {
            if (!line.trimmed().isEmpty())
                out << QString::fromUtf8(line.trimmed().split(',').last());
        }
        return out;
    };
    const auto shownHint = [&](int i) { return f.LaunchBtn[i]->toolTip(); };

    // The keyboard's move: the last tile one place back.
    QTest::keyClick(&f, Qt::Key_End);
    QTest::keyClick(&f, Qt::Key_Left, Qt::ControlModifier);
    QStringList expected;
    for (int i = 0; i < 1000; ++i)
        expected << QStringLiteral("tile %1").arg(i);
    expected.move(999, 998);
    EXPECT_EQ(hints(), expected);
    EXPECT_EQ(shownHint(998), "tile 999");
    EXPECT_EQ(shownHint(999), "tile 998");

    // The mouse's move: Shift-drag of tile 995 onto tile 997.
    shiftDown = true;
    TImage* from = f.LaunchBtn[995];
    ASSERT_TRUE(inWindow(from));
    f.BtnMouseDown(from, Qt::LeftButton, QPointF(24, 24));
    f.BtnMouseUp(from, Qt::LeftButton, QPointF(2 * 52 + 24, 24));
    shiftDown = false;
    expected.move(995, 997);
    EXPECT_EQ(hints(), expected);
    EXPECT_EQ(shownHint(997), "tile 995");

    // Delete and the parameter window, from tile menus near the end.
    f.mouseobj = f.LaunchBtn[990];
    f.DelBtnClick();
    expected.removeAt(990);
    EXPECT_EQ(hints(), expected);
    ASSERT_EQ(f.LaunchBtn.size(), 999);
    EXPECT_EQ(shownHint(990), "tile 991");
    f.mouseobj = f.LaunchBtn[980];
    f.EditCmdClick();
    EXPECT_EQ(editors.opened, QStringList{path("f.txt") + ",,tile 980"});
    f.setEditorWindows(nullptr);

    // Every tile in the window stands where the row puts it.
    for (int i = 960; i < 999; ++i) {
        if (TImage* tile = f.LaunchBtn.madeAt(i)) {
            EXPECT_EQ(tile->pos(), f.LaunchBtn.slot(i).pos) << i;
        }
    }
}

TEST_F(LongRow, ARowThatFitsDoesNotScroll)
{
    writeGroup(3);
    TForm1& f = create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    TImage* first = f.LaunchBtn.first();
    const QPoint before = centreOf(first);
    wheel(3);
    QTest::keyClick(&f, Qt::Key_End);
    EXPECT_EQ(centreOf(first), before);
    EXPECT_EQ(f.geometry().size(), QSize(196, 126));
}

} // namespace
