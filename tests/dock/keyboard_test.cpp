// The dock by keyboard: the keys that move along the row, launch a tile, open
// its menu and reorder the row, the ring that shows the tile the keyboard is
// on, and the focus kept on the row through group switches and layout passes.
#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QGraphicsView>
#include <QMenu>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QTimer>

namespace
{

class Keys : public DockFixture
{
protected:
    // Group `index` of one existing file per name; the hint is the name.
    void writeGroup(const QStringList& names, int index = 0)
    {
        QByteArray lines;
        for (const QString& name : names) {
            writeFile(name, "x");
            lines += (line(name) + "\r\n").toUtf8();
        }
        writeFile(groupFile(index), lines);
    }
    // n entries naming one file, hints "tile 0", "tile 1"...
    void writeLongGroup(int n)
    {
        writeFile("f.txt", "x");
        QByteArray lines;
        for (int i = 0; i < n; ++i)
            lines += path("f.txt").toUtf8() + ",,tile " + QByteArray::number(i) + "\r\n";
        writeFile(groupFile(0), lines);
    }
    QString line(const QString& name) const { return path(name) + ",," + name; }
    static QString groupFile(int index)
    {
        return QStringLiteral("PondwillowPath%1.txt").arg(index);
    }

    // The dock, shown and holding the keyboard: a window that became active
    // only later would take the ring away between two keys.
    TForm1& createActive()
    {
        TForm1& f = create();
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }

    static void press(TForm1& f, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(&f, key, mods);
    }

    static QString hints(const TForm1& f)
    {
        QString s;
        for (const TImage* tile : f.LaunchBtn)
            s += tile->Hint();
        return s;
    }

    static QGraphicsView& view(TForm1& f) { return *f.form().view; }

    static bool inWindow(TForm1& f, TImage* tile)
    {
        return view(f).viewport()->rect().contains(
            view(f).mapFromScene(tile->sceneBoundingRect()).boundingRect());
    }

    static QImage shot(TForm1& f) { return view(f).grab().toImage(); }

    // The pixel just outside the middle of a tile's upper side, where the
    // ring's line runs.
    static QColor ringSpot(TForm1& f, const QImage& image, int index)
    {
        const QRectF r = f.LaunchBtn[index]->sceneBoundingRect();
        const QPoint at = view(f).mapFromScene(QPointF(r.center().x(), r.top() - 4));
        return image.pixelColor(at * image.devicePixelRatio());
    }
    static bool isRing(const QColor& c)
    {
        const QColor blue(0x46, 0x82, 0xb4);
        return c.alpha() == 255 && std::abs(c.red() - blue.red()) < 12 &&
               std::abs(c.green() - blue.green()) < 12 && std::abs(c.blue() - blue.blue()) < 12;
    }
};

struct Orientation {
    const char* name;
    bool vertical;
    const char* edge;
    Qt::Key back;
    Qt::Key forward;
    Qt::Key across; // not a key of this row
};
const Orientation kOrientations[] = {
    {"horizontal", false, "mbottom", Qt::Key_Left, Qt::Key_Right, Qt::Key_Down},
    {"vertical", true, "mleft", Qt::Key_Up, Qt::Key_Down, Qt::Key_Right},
};

QString iniFor(const Orientation& o)
{
    return QStringLiteral("[Form]\nMode=%1\nLeft=100\nTop=100\n[Refrect]\nMode=%2\n")
        .arg(o.vertical ? 1 : 0)
        .arg(QLatin1String(o.edge));
}

TEST_F(Keys, ArrowsMoveTheFocusAlongTheRowAndStopAtItsEnds)
{
    for (const Orientation& o : kOrientations) {
        SCOPED_TRACE(o.name);
        writeIni(iniFor(o));
        writeGroup({"A", "B", "C"});
        TForm1& f = createActive();
        QSignalSpy changes(&f, &TForm1::keyFocusChanged);
        // The dock that got the keyboard has it on its first tile; each arrow
        // moves it, the ends hold it, and after Escape an arrow starts again
        // from the first tile.
        EXPECT_EQ(f.keyFocus(), 0);
        struct Step {
            Qt::Key key;
            int focus;
        };
        const Step steps[] = {{o.forward, 1},       {o.forward, 2}, {o.forward, 2}, {o.across, 2},
                              {o.back, 1},          {o.back, 0},    {o.back, 0},    {o.forward, 1},
                              {Qt::Key_Escape, -1}, {o.back, 0}};
        QList<int> reported;
        for (const Step& s : steps) {
            press(f, s.key);
            EXPECT_EQ(f.keyFocus(), s.focus);
            if (reported.isEmpty() || reported.last() != s.focus)
                reported << s.focus;
        }
        QList<int> got;
        for (const QList<QVariant>& args : changes)
            got << args.at(0).toInt();
        EXPECT_EQ(got, reported) << "keyFocusChanged reports each change once";
        dock.reset();
    }
}

TEST_F(Keys, EnterAndSpaceLaunchTheFocusedTileAsAClickDoes)
{
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        bool launches;
    };
    const Case cases[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier, true},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, true},
        {"Space", Qt::Key_Space, Qt::NoModifier, true},
        {"Shift+Return", Qt::Key_Return, Qt::ShiftModifier, false},
        {"Shift+Space", Qt::Key_Space, Qt::ShiftModifier, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("tool", "x");
        writeGroup({"a.txt"});
        writeFile(groupFile(0),
                  (line("a.txt") + "\r\n" + path("tool") + ",-v x,Tool\r\n").toUtf8());
        TForm1& f = createActive();
        {
            const std::lock_guard<std::mutex> lock(launchMutex);
            launches.clear();
        }
        // The first key only shows where the keyboard is: nothing starts.
        press(f, c.key, c.mods);
        EXPECT_EQ(f.keyFocus(), 0);
        press(f, Qt::Key_Right);
        ASSERT_EQ(f.keyFocus(), 1);
        press(f, c.key, c.mods);
        auto* jump = qobject_cast<QPropertyAnimation*>(f.LaunchBtn[1]->child(2));
        ASSERT_TRUE(jump);
        EXPECT_EQ(jump->state() == QAbstractAnimation::Running, c.launches);
        const QStringList expected =
            c.launches ? QStringList{path("tool") + "|-v x|" + home.path()} : QStringList{};
        EXPECT_EQ(launchesAfter(1, c.launches ? 5000 : 1000), expected);
        dock.reset();
    }
}

TEST_F(Keys, TheMenuKeyAndShiftF10OpenTheFocusedTilesMenuAtTheTile)
{
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
    };
    for (const Case& c : {Case{"Menu", Qt::Key_Menu, Qt::NoModifier},
                          Case{"Shift+F10", Qt::Key_F10, Qt::ShiftModifier}}) {
        SCOPED_TRACE(c.name);
        writeIni("[Form]\nLeft=100\nTop=100\n");
        // A long row, scrolled to its end: the menu opens at the tile as shown.
        // (The tile is one that Qt's test screen, 800 pixels wide, holds, so
        // that the menu need not be moved to fit on it.)
        writeLongGroup(1000);
        TForm1& f = createActive();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        press(f, Qt::Key_End);
        for (int i = 0; i < 29; ++i)
            press(f, Qt::Key_Left);
        ASSERT_EQ(f.keyFocus(), 970);
        TImage* tile = f.LaunchBtn[970];
        QMenu* menu = f.form().PopupMenu1;
        QPoint shownAt;
        bool shown = false;
        QTimer::singleShot(0, menu, [&] {
            shown = menu->isVisible();
            shownAt = menu->pos();
            menu->close();
        });
        press(f, c.key, c.mods);
        EXPECT_TRUE(shown);
        const QRect tileOnScreen(
            view(f).viewport()->mapToGlobal(
                view(f).mapFromScene(tile->sceneBoundingRect()).boundingRect().topLeft()),
            QSize(f.bw + 1, f.bw + 1));
        EXPECT_TRUE(tileOnScreen.contains(shownAt))
            << "menu at " << shownAt.x() << "," << shownAt.y() << ", tile at " << tileOnScreen.x()
            << "," << tileOnScreen.y();
        EXPECT_EQ(f.mouseobj, tile) << "the menu's commands act on the focused tile";
        EXPECT_EQ(f.keyFocus(), 970);
        dock.reset();
    }
}

TEST_F(Keys, CtrlArrowsMoveTheFocusedTileAndWriteTheGroupAsAShiftDragDoes)
{
    struct Case {
        const char* name;
        bool vertical;
        int from;
        Qt::Key key;
        const char* order; // nullptr: nothing moves and nothing is written
        int focusAfter;
    };
    const Case cases[] = {
        {"forward", false, 1, Qt::Key_Right, "ACBD", 2},
        {"back", false, 1, Qt::Key_Left, "BACD", 0},
        {"back from the first", false, 0, Qt::Key_Left, nullptr, 0},
        {"forward from the last", false, 3, Qt::Key_Right, nullptr, 3},
        {"up, vertical", true, 2, Qt::Key_Up, "ACBD", 1},
        {"down, vertical", true, 0, Qt::Key_Down, "BACD", 1},
        {"across a vertical row", true, 1, Qt::Key_Right, nullptr, 1},
    };
    // A line whose file is absent is kept in its place by every write.
    const QString absent = path("usb/gone.sh") + ",,Gone";
    const auto groupBytes = [&] {
        QByteArray bytes;
        for (const char* name : {"A", "B"})
            bytes += (line(name) + "\r\n").toUtf8();
        bytes += (absent + "\r\n").toUtf8();
        for (const char* name : {"C", "D"})
            bytes += (line(name) + "\r\n").toUtf8();
        return bytes;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeIni(QStringLiteral("[Form]\nMode=%1\n[Refrect]\nMode=%2\n")
                     .arg(int(c.vertical))
                     .arg(c.vertical ? "mleft" : "mbottom"));
        writeGroup({"A", "B", "C", "D"});
        const QByteArray original = groupBytes();
        writeFile(groupFile(0), original);

        // What a Shift-drag of the same move writes.
        QByteArray dragged;
        if (c.order) {
            TForm1& other = create();
            shiftDown = true;
            const int to = c.focusAfter;
            other.BtnMouseDown(other.LaunchBtn[c.from], Qt::LeftButton, QPointF(4, 4));
            other.BtnMouseUp(other.LaunchBtn[c.from], Qt::LeftButton,
                             other.LaunchBtn[c.from]->mapFromScene(
                                 other.LaunchBtn[to]->sceneBoundingRect().center()));
            shiftDown = false;
            dragged = readFile(groupFile(0));
            dock.reset();
            writeFile(groupFile(0), original);
        }

        TForm1& f = createActive();
        f.setKeyFocus(c.from);
        QFile::remove(path(groupFile(0)));
        press(f, c.key, Qt::ControlModifier);
        EXPECT_EQ(f.keyFocus(), c.focusAfter);
        if (c.order) {
            EXPECT_EQ(hints(f), QString::fromLatin1(c.order));
            EXPECT_EQ(f.LaunchBtn[c.focusAfter]->Hint(), QString(QChar('A' + c.from)))
                << "the focus follows its tile";
            ASSERT_FALSE(dragged.isEmpty());
            EXPECT_EQ(readFile(groupFile(0)), dragged);
            EXPECT_TRUE(readFile(groupFile(0)).contains(absent.toUtf8()));
        } else {
            EXPECT_EQ(hints(f), "ABCD");
            EXPECT_FALSE(QFile::exists(path(groupFile(0)))) << "nothing to write";
        }
        dock.reset();
    }
}

TEST_F(Keys, HomeEndAndArrowsKeepTheFocusedTileOfALongRowInTheWindow)
{
    for (const Orientation& o : kOrientations) {
        SCOPED_TRACE(o.name);
        writeIni(iniFor(o));
        writeLongGroup(1000);
        TForm1& f = createActive();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        press(f, Qt::Key_End);
        EXPECT_EQ(f.keyFocus(), 999);
        EXPECT_TRUE(inWindow(f, f.LaunchBtn.last()));
        press(f, Qt::Key_Home);
        EXPECT_EQ(f.keyFocus(), 0);
        EXPECT_TRUE(inWindow(f, f.LaunchBtn.first()));
        EXPECT_FALSE(inWindow(f, f.LaunchBtn.last()));
        // Past the window's end, one tile at a time: the row follows.
        for (int i = 1; i <= 40; ++i) {
            press(f, o.forward);
            ASSERT_EQ(f.keyFocus(), i);
            ASSERT_TRUE(inWindow(f, f.LaunchBtn[i])) << "tile " << i;
        }
        EXPECT_FALSE(inWindow(f, f.LaunchBtn.first()));
        EXPECT_FALSE(f.LaunchBtn[40]->Bitmap().isNull()) << "the tile brought in is drawn";
        f.setKeyFocus(500);
        EXPECT_TRUE(inWindow(f, f.LaunchBtn[500]));
        for (int i = 499; i >= 480; --i) {
            press(f, o.back);
            ASSERT_TRUE(inWindow(f, f.LaunchBtn[i])) << "tile " << i;
        }
        dock.reset();
    }
}

TEST_F(Keys, TheRingShowsOnTheFocusedTileOnlyWhileTheKeysAreInUse)
{
    writeIni("[Form]\nLeft=100\nTop=100\n");
    writeGroup({"A", "B", "C"});
    TForm1& f = createActive();
    // The keyboard came to the dock on its first tile, which shows no ring
    // until a key is used.
    const QImage rest = shot(f);
    EXPECT_EQ(f.keyFocus(), 0);
    EXPECT_FALSE(isRing(ringSpot(f, rest, 0)));

    press(f, Qt::Key_Right);
    QImage image = shot(f);
    EXPECT_TRUE(isRing(ringSpot(f, image, 1))) << ringSpot(f, image, 1).name().toStdString();
    EXPECT_FALSE(isRing(ringSpot(f, image, 0)));
    press(f, Qt::Key_Right);
    image = shot(f);
    EXPECT_FALSE(isRing(ringSpot(f, image, 1)));
    EXPECT_TRUE(isRing(ringSpot(f, image, 2)));

    // The mouse on the panel, away from the tiles: the ring goes, the
    // keyboard keeps its tile, and the dock looks as it did at rest.
    QWidget* vp = view(f).viewport();
    // (Qt passes no move to where the pointer already is: it comes from elsewhere.)
    QTest::mouseMove(vp, QPoint(6, vp->height() - 30));
    QTest::mouseMove(vp, QPoint(5, vp->height() - 20));
    EXPECT_EQ(shot(f), rest);
    EXPECT_EQ(f.keyFocus(), 2);
    // A key that acts on the tile first shows the ring where it was.
    press(f, Qt::Key_Menu);
    EXPECT_EQ(f.keyFocus(), 2);
    EXPECT_TRUE(isRing(ringSpot(f, shot(f), 2)));
    // An arrow moves at once.
    press(f, Qt::Key_Left);
    EXPECT_EQ(f.keyFocus(), 1);
    EXPECT_TRUE(isRing(ringSpot(f, shot(f), 1)));

    // Another window takes the keyboard.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(shot(f), rest);
    EXPECT_EQ(f.keyFocus(), 1);
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_EQ(f.keyFocus(), 1) << "the keyboard comes back to its tile";
    press(f, Qt::Key_Left);
    EXPECT_EQ(f.keyFocus(), 0);
    EXPECT_TRUE(isRing(ringSpot(f, shot(f), 0)));

    // Escape gives the keyboard back; the next arrow starts on the first tile.
    press(f, Qt::Key_Right);
    press(f, Qt::Key_Escape);
    EXPECT_EQ(f.keyFocus(), -1);
    EXPECT_EQ(shot(f), rest);
    press(f, Qt::Key_Right);
    EXPECT_EQ(f.keyFocus(), 0);
}

TEST_F(Keys, GroupSwitchesAndLayoutPassesKeepTheFocusOnTheRow)
{
    writeGroup({"A", "B", "C"}, 0);
    writeGroup({"D", "E"}, 2);
    TForm1& f = createActive();
    press(f, Qt::Key_End);
    ASSERT_EQ(f.keyFocus(), 2);
    QSignalSpy changes(&f, &TForm1::keyFocusChanged);

    // Another group: its first tile, reported even where the index is the same.
    press(f, Qt::Key_F3);
    EXPECT_EQ(f.MenuIndex, 2);
    EXPECT_EQ(f.keyFocus(), 0);
    press(f, Qt::Key_Right);
    press(f, Qt::Key_F1);
    EXPECT_EQ(f.keyFocus(), 0);
    EXPECT_EQ(changes.count(), 3);
    // An empty group has no tile to be on.
    press(f, Qt::Key_F5);
    EXPECT_EQ(f.keyFocus(), -1);
    press(f, Qt::Key_F1);
    EXPECT_EQ(f.keyFocus(), -1);

    // The focused last tile removed from its menu: the new last one.
    press(f, Qt::Key_End);
    f.mouseobj = f.LaunchBtn[2];
    f.DelBtnClick();
    EXPECT_EQ(hints(f), "AB");
    EXPECT_EQ(f.keyFocus(), 1);
    // Another tile Shift-dragged across the focused one: the focus stays on its tile.
    shiftDown = true;
    f.BtnMouseDown(f.LaunchBtn[0], Qt::LeftButton, QPointF(4, 4));
    f.BtnMouseUp(f.LaunchBtn[0], Qt::LeftButton,
                 f.LaunchBtn[0]->mapFromScene(f.LaunchBtn[1]->sceneBoundingRect().center()));
    shiftDown = false;
    EXPECT_EQ(hints(f), "BA");
    EXPECT_EQ(f.keyFocus(), 0);
    // The ring went with it.
    EXPECT_TRUE(isRing(ringSpot(f, shot(f), 0)));
    EXPECT_FALSE(isRing(ringSpot(f, shot(f), 1)));
}

} // namespace
