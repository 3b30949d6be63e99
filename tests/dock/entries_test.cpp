// Editing the shown group from the dock itself: add mode and drops, removing
// a tile, Shift-moving one, the tile menu, and switching groups.
#include "core/Errors.h"
#include "core/Rounding.h"
#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QGraphicsView>
#include <QMenu>
#include <QTimer>

#include <functional>

namespace
{

class Entries : public DockFixture
{
protected:
    // Group `index` made of one existing file per name; the hint is the name.
    void writeGroup(int index, const QStringList& names)
    {
        QByteArray lines;
        for (const QString& name : names) {
            writeFile(name, "x");
            lines += (line(name) + "\r\n").toUtf8();
        }
        writeFile(groupFile(index), lines);
    }

    QString line(const QString& name) const { return path(name) + ",," + name; }
    static QString groupFile(int index)
    {
        return QStringLiteral("PondwillowPath%1.txt").arg(index);
    }

    // The lines of a group file, as the dock holds them.
    QStringList fileLines(int index) const
    {
        QStringList lines = QString::fromUtf8(readFile(groupFile(index))).split("\r\n");
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    QStringList shownLines(const TForm1& f) const
    {
        return *f.LaunchPath[std::size_t(f.MenuIndex)];
    }

    // Whether a command wrote the group file: it is removed first.
    bool written(int index) const { return QFile::exists(path(groupFile(index))); }
    void forget(int index) const { QFile::remove(path(groupFile(index))); }

    // The tiles' places, in LaunchBtn order.
    static QList<QPointF> places(const TForm1& f)
    {
        QList<QPointF> result;
        for (const TImage* tile : f.LaunchBtn)
            result << tile->pos();
        return result;
    }

    // A fresh dock of the same settings, loaded from the files as they are now.
    struct Loaded {
        QList<QPointF> places;
        QRect geometry;
    };
    Loaded reloaded()
    {
        TForm1 other;
        other.show();
        return {places(other), other.geometry()};
    }
};

TEST_F(Entries, AddModeShowsTheDropZoneAndLeavingItWritesTheGroup)
{
    struct Case {
        const char* name;
        QStringList entries;
        bool transparentAfter;
    };
    for (const Case& c :
         {Case{"a group with entries", {"a.txt"}, true}, Case{"an empty group", {}, false}}) {
        SCOPED_TRACE(c.name);
        writeGroup(0, c.entries);
        TForm1& f = create();
        if (!c.entries.isEmpty())
            ASSERT_FALSE(f.isAddMode());
        else
            f.AddMenuClick(); // an empty group opens in add mode
        f.SetTransparency(!c.transparentAfter);
        forget(0);

        f.AddMenuClick();
        EXPECT_TRUE(f.form().AddMenu->isChecked());
        EXPECT_TRUE(f.form().AddMenu2->isChecked());
        EXPECT_TRUE(f.DropTarget1->isVisible());
        EXPECT_EQ(f.Transparency(), !c.transparentAfter) << "entering changed the transparency";
        EXPECT_FALSE(written(0)) << "entering add mode wrote the group";

        f.AddMenuClick();
        EXPECT_FALSE(f.form().AddMenu->isChecked());
        EXPECT_FALSE(f.form().AddMenu2->isChecked());
        EXPECT_FALSE(f.DropTarget1->isVisible());
        EXPECT_EQ(f.Transparency(), c.transparentAfter);
        ASSERT_TRUE(written(0));
        EXPECT_EQ(fileLines(0), shownLines(f));
        dock.reset();
    }
}

TEST_F(Entries, ADropBecomesTheLastTileAndIsWrittenAtOnce)
{
    for (const bool vertical : {false, true}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        writeIni(QStringLiteral("[Form]\nMode=%1\nLeft=300\nTop=300\n").arg(int(vertical)));
        writeGroup(0, {"a.txt", "b.txt"});
        writeFile("report.final.txt", "x");
        TForm1& f = create();
        f.AddMenuClick();

        // Only the first of several dropped files is taken.
        f.DropTarget1DragDrop({path("report.final.txt"), path("a.txt"), path("b.txt")});
        ASSERT_EQ(f.LaunchBtn.size(), 3);
        EXPECT_EQ(shownLines(f).last(), path("report.final.txt") + ",,report.final");
        EXPECT_EQ(fileLines(0), shownLines(f)) << "the drop was not written at once";
        EXPECT_TRUE(f.isAddMode());
        EXPECT_TRUE(f.DropTarget1->isVisible());

        // The new tile and the window are where a load of the same group puts them.
        const Loaded fresh = reloaded();
        EXPECT_EQ(places(f), fresh.places);
        EXPECT_EQ(f.geometry(), fresh.geometry);

        // A reload of the shown group before add mode is left keeps the drop.
        f.MenuClick(0);
        EXPECT_EQ(f.LaunchBtn.size(), 3);
        dock.reset();
    }
}

TEST_F(Entries, ADropWithoutAPathChangesNothing)
{
    writeGroup(0, {"a.txt"});
    TForm1& f = create();
    f.AddMenuClick();
    forget(0);
    f.DropTarget1DragDrop({});
    EXPECT_EQ(f.LaunchBtn.size(), 1);
    EXPECT_FALSE(written(0));
}

TEST_F(Entries, AFailedWriteAfterADropKeepsTheTileAndReportsTheError)
{
    writeGroup(0, {"a.txt"});
    writeFile("b.txt", "x");
    TForm1& f = create();
    f.AddMenuClick();
    forget(0);
    QDir(home.path()).mkdir(groupFile(0));
    EXPECT_THROW(f.DropTarget1DragDrop({path("b.txt")}), pw::Error);
    EXPECT_EQ(f.LaunchBtn.size(), 2);
    EXPECT_EQ(shownLines(f).size(), 2);
}

TEST_F(Entries, RemovingATile)
{
    struct Case {
        const char* name;
        QStringList entries;
        int removed; // index of the tile under the mouse; -1: none
        bool addModeBefore;
        QStringList remaining;
        bool addModeAfter;
        bool transparentAfter;
    };
    const Case cases[] = {
        {"a middle tile", {"a.txt", "b.txt", "c.txt"}, 1, false, {"a.txt", "c.txt"}, false, true},
        {"the last tile", {"a.txt"}, 0, false, {}, true, true},
        // Leaving add mode on the way switches the window's transparency off.
        {"the last tile in add mode", {"a.txt"}, 0, true, {}, true, false},
        {"no tile under the mouse", {"a.txt", "b.txt"}, -1, false, {"a.txt", "b.txt"}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeGroup(0, c.entries);
        TForm1& f = create();
        if (c.addModeBefore)
            f.AddMenuClick();
        f.SetTransparency(true);
        if (c.removed >= 0)
            f.BtnMouseEnter(f.LaunchBtn[c.removed]);
        forget(0);

        f.DelBtnClick();
        QStringList expected;
        for (const QString& name : c.remaining)
            expected << line(name);
        EXPECT_EQ(shownLines(f), expected);
        ASSERT_EQ(f.LaunchBtn.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            EXPECT_EQ(f.LaunchBtn[i]->Hint(), c.remaining[i]) << "tile " << i;
        EXPECT_EQ(written(0), c.removed >= 0);
        if (c.removed >= 0) {
            EXPECT_EQ(fileLines(0), expected);
            EXPECT_EQ(places(f), reloaded().places) << "the tiles were not laid out again";
        }
        EXPECT_EQ(f.form().AddMenu->isChecked(), c.addModeAfter);
        EXPECT_EQ(f.form().AddMenu2->isChecked(), c.addModeAfter);
        EXPECT_EQ(f.DropTarget1->isVisible(), c.removed >= 0 && c.remaining.isEmpty());
        EXPECT_EQ(f.Transparency(), c.transparentAfter);
        dock.reset();
    }
}

class Moves : public Entries
{
protected:
    // Shift-press on tile `from`, Shift-release with the pointer over tile `to`.
    void shiftDrag(TForm1& f, int from, int to)
    {
        TImage* pressed = f.LaunchBtn[from];
        shiftDown = true;
        f.BtnMouseDown(pressed, Qt::LeftButton, QPointF(4, 4));
        // The pressed tile gets the release; the pointer is over the other one.
        const QPointF over = f.LaunchBtn[to]->sceneBoundingRect().center();
        f.BtnMouseUp(pressed, Qt::LeftButton, pressed->mapFromScene(over));
        shiftDown = false;
    }
};

TEST_F(Moves, AShiftPressAndReleaseMoveTheEntryToTheReleasedTilesPlace)
{
    struct Case {
        int from;
        int to;
        const char* order;
    };
    for (const Case& c : {Case{0, 2, "BCAD"}, Case{0, 3, "BCDA"}, Case{3, 0, "DABC"},
                          Case{2, 1, "ACBD"}, Case{1, 1, "ABCD"}}) {
        SCOPED_TRACE(QStringLiteral("%1 to %2").arg(c.from).arg(c.to).toStdString());
        writeGroup(0, {"A", "B", "C", "D"});
        TForm1& f = create();
        forget(0);
        shiftDrag(f, c.from, c.to);
        QStringList expected;
        for (const QChar name : QString::fromLatin1(c.order))
            expected << line(name);
        EXPECT_EQ(shownLines(f), expected);
        // Even a move onto itself lays the tiles out again and writes the group.
        ASSERT_TRUE(written(0));
        EXPECT_EQ(fileLines(0), expected);
        for (qsizetype i = 0; i < expected.size(); ++i)
            EXPECT_EQ(f.LaunchBtn[i]->Hint(), QString(QChar(c.order[i]))) << "tile " << i;
        EXPECT_EQ(places(f), reloaded().places);
        dock.reset();
    }
}

TEST_F(Moves, WithoutShiftOrAValidStartNothingMoves)
{
    writeGroup(0, {"A", "B", "C"});
    TForm1& f = create();
    forget(0);

    // Released without Shift.
    f.BtnMouseDown(f.LaunchBtn[0], Qt::LeftButton, QPointF(4, 4));
    f.BtnMouseUp(f.LaunchBtn[0], Qt::LeftButton,
                 f.LaunchBtn[0]->mapFromScene(f.LaunchBtn[2]->sceneBoundingRect().center()));
    // A start recorded in a longer group.
    f.MoveFrom = 5;
    shiftDown = true;
    f.BtnMouseUp(f.LaunchBtn[0], Qt::LeftButton, QPointF(4, 4));
    EXPECT_EQ(f.MoveTo, 0);
    EXPECT_EQ(shownLines(f), (QStringList{line("A"), line("B"), line("C")}));
    EXPECT_FALSE(written(0));

    // A release with no press before it moves the tile of the last press.
    f.MoveFrom = 2;
    f.BtnMouseUp(f.LaunchBtn[0], Qt::LeftButton, QPointF(4, 4));
    EXPECT_EQ(shownLines(f), (QStringList{line("C"), line("A"), line("B")}));
}

TEST_F(Moves, AFailedWriteStillLaysTheTilesOutInTheirNewOrder)
{
    writeGroup(0, {"A", "B", "C"});
    TForm1& f = create();
    const QList<QPointF> before = places(f);
    forget(0);
    QDir(home.path()).mkdir(groupFile(0));
    EXPECT_THROW(shiftDrag(f, 0, 2), pw::Error);
    EXPECT_EQ(shownLines(f), (QStringList{line("B"), line("C"), line("A")}));
    EXPECT_EQ(places(f), before) << "the moved tiles were left where they were";
}

TEST_F(Entries, ARightPressOpensTheTileMenuAtTheRoundedPointThenRecordsTheMove)
{
    writeIni("[Form]\nLeft=100\nTop=100\n");
    writeGroup(0, {"A", "B"});
    TForm1& f = create();
    QMenu* menu = f.form().PopupMenu1;
    f.MoveFrom = -1;
    QPoint shownAt;
    int moveFromWhileOpen = 0;
    QTimer::singleShot(0, menu, [&] {
        shownAt = menu->pos();
        moveFromWhileOpen = f.MoveFrom;
        menu->close();
    });
    shiftDown = true;
    TImage* tile = f.LaunchBtn[1];
    const QPointF local(2.5, 3.5);
    f.BtnMouseDown(tile, Qt::RightButton, local);

    const QPoint point(pw::roundHalfEven(tile->x() + local.x()),
                       pw::roundHalfEven(tile->y() + local.y()));
    EXPECT_EQ(shownAt, f.mapToGlobal(point));
    EXPECT_EQ(f.mouseobj, tile);
    EXPECT_EQ(moveFromWhileOpen, -1) << "the move start was recorded before the menu closed";
    EXPECT_EQ(f.MoveFrom, 1);
}

TEST_F(Entries, ChoosingAGroupShowsItFromItsFileAndWritesNothing)
{
    writeGroup(0, {"a.txt", "b.txt"});
    writeGroup(2, {"c.txt"});
    TForm1& f = create();
    QFile::remove(path("Pondwillow.ini"));
    // Were the group left written, this would be overwritten.
    writeFile(groupFile(0), "changed on disk\r\n");

    f.MenuClick(2);
    EXPECT_EQ(f.MenuIndex, 2);
    EXPECT_TRUE(f.form().Menu2->isChecked());
    EXPECT_FALSE(f.form().Menu0->isChecked());
    EXPECT_EQ(shownLines(f), QStringList{line("c.txt")});
    ASSERT_EQ(f.LaunchBtn.size(), 1);
    EXPECT_EQ(f.LaunchBtn[0]->Hint(), "c.txt");
    EXPECT_EQ(readFile(groupFile(0)), "changed on disk\r\n");
    EXPECT_FALSE(QFile::exists(path("Pondwillow.ini")));

    // A group without a file opens empty, in add mode.
    f.MenuClick(4);
    EXPECT_TRUE(f.LaunchBtn.isEmpty());
    EXPECT_TRUE(f.isAddMode());
    EXPECT_TRUE(f.DropTarget1->isVisible());
    EXPECT_FALSE(written(4));

    // Leaving it for a group with entries hides the drop zone but keeps the mark.
    f.MenuClick(2);
    EXPECT_FALSE(f.DropTarget1->isVisible());
    EXPECT_TRUE(f.form().AddMenu->isChecked());
}

TEST_F(Entries, FunctionKeysChooseGroupsWithoutAMenu)
{
    writeGroup(0, {"a.txt", "b.txt"});
    writeGroup(2, {"c.txt"});
    TForm1& f = create();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_F3);
    EXPECT_EQ(f.MenuIndex, 2);
    EXPECT_TRUE(f.form().Menu2->isChecked());
    EXPECT_EQ(f.LaunchBtn.size(), 1);
    EXPECT_FALSE(f.form().PopupMenu2->isVisible());
    QTest::keyClick(&f, Qt::Key_F1);
    EXPECT_EQ(f.MenuIndex, 0);
    EXPECT_EQ(f.LaunchBtn.size(), 2);
    QTest::keyClick(&f, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(f.isAddMode());
    EXPECT_TRUE(f.form().AddMenu2->isChecked());
}

// A line whose file is missing as its group loads (a drive not mounted yet)
// makes no tile, but every change that writes the group writes it back in its
// place, as it was read; once the file is there, showing the group again
// brings its tile back.
class AbsentEntries : public Moves
{
protected:
    // Quoted, with a comma in its hint: the dock would compose another line
    // for the same entry, so only the line as read passes.
    QString absentLine(const QString& name = "tool.sh") const
    {
        return "\"" + path("usb/" + name) + "\",,\"Tool, one\"";
    }

    // Group `index` of existing files, with `absent` inserted as line `at`.
    void writeGroupWithAbsentLine(int index, const QStringList& names, int at,
                                  const QString& absent)
    {
        writeGroup(index, names);
        QStringList lines = fileLines(index);
        lines.insert(at, absent);
        writeFile(groupFile(index), (lines.join("\r\n") + "\r\n").toUtf8());
    }

    // The lines for letters: 'T' the absent line, others an existing file.
    QStringList linesFor(const QString& letters) const
    {
        QStringList lines;
        for (const QChar c : letters)
            lines << (c == u'T' ? absentLine() : line(c));
        return lines;
    }

    static QString hints(const TForm1& f)
    {
        QString s;
        for (const TImage* tile : f.LaunchBtn)
            s += tile->Hint() == "Tool, one" ? QStringLiteral("T") : tile->Hint();
        return s;
    }
};

TEST_F(AbsentEntries, StayInTheirPlaceThroughEveryChangeThatWritesTheGroup)
{
    struct Case {
        const char* name;
        std::function<void(TForm1&)> change;
        const char* after; // the group file after the change; T: the absent line
    };
    const Case cases[] = {
        {"a drop",
         [this](TForm1& f) {
             f.AddMenuClick();
             f.DropTarget1DragDrop({path("D")});
         },
         "ATBCD"},
        {"the tile after it deleted",
         [](TForm1& f) {
             f.BtnMouseEnter(f.LaunchBtn[1]);
             f.DelBtnClick();
         },
         "ATC"},
        {"the tile it follows deleted",
         [](TForm1& f) {
             f.BtnMouseEnter(f.LaunchBtn[0]);
             f.DelBtnClick();
         },
         "TBC"},
        {"the tile it follows Shift-moved to the end", [this](TForm1& f) { shiftDrag(f, 0, 2); },
         "BCAT"},
        {"another tile Shift-moved before it", [this](TForm1& f) { shiftDrag(f, 2, 0); }, "CATB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(path("usb")).removeRecursively();
        writeFile("D", "x");
        writeGroupWithAbsentLine(0, {"A", "B", "C"}, 1, absentLine());
        TForm1& f = create();
        ASSERT_EQ(hints(f), "ABC");
        forget(0);

        c.change(f);
        ASSERT_TRUE(written(0));
        const QString after = QString::fromLatin1(c.after);
        EXPECT_EQ(fileLines(0), linesFor(after));
        // The shown list holds the tiles' lines alone.
        const QString shown = QString(after).remove(u'T');
        EXPECT_EQ(shownLines(f), linesFor(shown));
        EXPECT_EQ(hints(f), shown);

        // The drive is back: showing the group again shows the tile in its place.
        ASSERT_TRUE(QDir(home.path()).mkdir("usb"));
        writeFile("usb/tool.sh", "x");
        f.MenuClick(0);
        EXPECT_EQ(hints(f), after);
        dock.reset();
    }
}

TEST_F(AbsentEntries, EachGroupKeepsItsOwnAndRereadsThemWhenShown)
{
    writeGroupWithAbsentLine(0, {"A", "B"}, 1, absentLine());
    writeGroupWithAbsentLine(2, {"C"}, 0, absentLine("other.sh"));
    writeFile("D", "x");
    const QByteArray group0 = readFile(groupFile(0));
    TForm1& f = create();

    f.MenuClick(2);
    f.AddMenuClick();
    f.DropTarget1DragDrop({path("D")});
    EXPECT_EQ(fileLines(2), (QStringList{absentLine("other.sh"), line("C"), line("D")}));

    // Shown twice, written once: the line is read again, not added twice.
    f.MenuClick(0);
    f.MenuClick(0);
    f.saveGroup();
    EXPECT_EQ(readFile(groupFile(0)), group0);
}

} // namespace
