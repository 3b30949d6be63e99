// The dock as a screen reader sees it: the window holding the shown group as
// a tool bar of push buttons, one per tile, what a press and the menu action
// do, which tiles of a long row are out of sight, and the announcements of
// focus and group changes.
#include "dock/DockMenus.h"
#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QAccessible>
#include <QApplication>
#include <QGraphicsView>
#include <QTimer>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace
{

// The accessibility events Qt would hand to a screen reader's bridge.
struct EventLog {
    struct Event {
        QAccessible::Event type;
        QObject* object;
    };
    static QList<Event>& events()
    {
        static QList<Event> list;
        return list;
    }
    static void record(QAccessibleEvent* e) { events().append({e->type(), e->object()}); }
};

class Accessibility : public DockFixture
{
protected:
    void TearDown() override
    {
        if (listening_) {
            QAccessible::installUpdateHandler(nullptr);
            platformAccessibility()->setActive(false);
        }
        DockFixture::TearDown();
    }

    // Group 0: One (hinted), a file with a parameter, a file with no hint;
    // group 2: two tiles, under its own name.
    TForm1& createWithGroups()
    {
        writeFile("one.txt", "x");
        writeFile("two.sh", "x");
        writeFile("three.txt", "x");
        writeIni(QStringLiteral("[Menu]\nName0=Programs\nName2=Docs && Notes\n"));
        writeFile("PondwillowPath0.txt",
                  (path("one.txt") + ",,One\r\n" + path("two.sh") + "," + path("arg.txt") +
                   ",Two\r\n" + path("three.txt") + ",,\r\n")
                      .toUtf8());
        writeFile("PondwillowPath2.txt",
                  (path("one.txt") + ",,A\r\n" + path("two.sh") + ",,B\r\n").toUtf8());
        return create();
    }

    // A client listens from here on: Qt hands its events to the log.
    void listen()
    {
        EventLog::events().clear();
        QAccessible::installUpdateHandler(&EventLog::record);
        // As the bridge does once a client has enabled it.
        platformAccessibility()->setActive(true);
        listening_ = true;
    }

    static QPlatformAccessibility* platformAccessibility()
    {
        return QGuiApplicationPrivate::platformIntegration()->accessibility();
    }

    static QList<EventLog::Event> eventsOf(QAccessible::Event type)
    {
        QList<EventLog::Event> out;
        for (const EventLog::Event& e : std::as_const(EventLog::events()))
            if (e.type == type)
                out << e;
        return out;
    }

    static QAccessibleInterface* row(TForm1& f)
    {
        return QAccessible::queryAccessibleInterface(f.form().view);
    }

    static QString name(QAccessibleInterface* iface)
    {
        return iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
    }

private:
    bool listening_ = false;
};

TEST_F(Accessibility, TheWindowHoldsTheShownGroupAsAToolBarOfButtons)
{
    TForm1& f = createWithGroups();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));

    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&f);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(name(window), "Pondwillow");
    ASSERT_EQ(window->childCount(), 1) << "the row alone, not the holder of the menus";

    QAccessibleInterface* bar = row(f);
    ASSERT_TRUE(bar);
    EXPECT_EQ(window->child(0), bar);
    EXPECT_EQ(window->indexOfChild(bar), 0);
    EXPECT_EQ(bar->parent(), window);
    EXPECT_EQ(bar->role(), QAccessible::ToolBar);
    EXPECT_EQ(name(bar), "Programs");
    EXPECT_EQ(bar->rect(), QRect(f.mapToGlobal(QPoint(0, 0)), f.size()));

    struct Tile {
        const char* name;
        const char* file;
    };
    const Tile tiles[] = {
        {"One", "one.txt"},
        {"Two -> arg.txt", "two.sh"},
        {"three.txt", "three.txt"}, // no hint: the file's name
    };
    ASSERT_EQ(f.LaunchBtn.size(), 3);
    ASSERT_EQ(bar->childCount(), 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        QAccessibleInterface* button = bar->child(i);
        ASSERT_TRUE(button);
        ASSERT_TRUE(button->isValid());
        EXPECT_EQ(button->object(), f.LaunchBtn[i]);
        EXPECT_EQ(button->role(), QAccessible::Button);
        EXPECT_EQ(name(button), tiles[i].name);
        EXPECT_EQ(button->text(QAccessible::Description), path(tiles[i].file));
        EXPECT_EQ(button->parent(), bar);
        EXPECT_EQ(bar->indexOfChild(button), i);
        EXPECT_TRUE(button->state().focusable);
        EXPECT_FALSE(button->state().invisible);
        EXPECT_FALSE(button->state().offscreen);
        // On the screen where the tile is drawn, and found there.
        const QRect r = button->rect();
        const QRect drawn = f.form()
                                .view->mapFromScene(f.LaunchBtn[i]->sceneBoundingRect())
                                .boundingRect()
                                .translated(f.mapToGlobal(QPoint(0, 0)));
        EXPECT_LE((r.center() - drawn.center()).manhattanLength(), 2);
        EXPECT_EQ(r.size(), QSize(f.bw, f.bw));
        EXPECT_EQ(bar->childAt(r.center().x(), r.center().y()), button);
        ASSERT_TRUE(button->actionInterface());
        EXPECT_EQ(button->actionInterface()->actionNames(),
                  QStringList({QAccessibleActionInterface::pressAction(),
                               QAccessibleActionInterface::showMenuAction()}));
    }
    EXPECT_FALSE(bar->child(3));

    // Add mode shows the drop zone after the tiles, named as it reads.
    f.AddMenuClick();
    ASSERT_TRUE(f.isAddMode());
    ASSERT_EQ(bar->childCount(), 4);
    QAccessibleInterface* zone = bar->child(3);
    ASSERT_TRUE(zone);
    EXPECT_EQ(name(zone), "Drop");
    EXPECT_EQ(zone->parent(), bar);
    EXPECT_EQ(bar->indexOfChild(zone), 3);
    EXPECT_FALSE(zone->state().invisible);
    f.AddMenuClick();
    EXPECT_EQ(bar->childCount(), 3);
}

TEST_F(Accessibility, PressLaunchesOnceFromTheEventLoopAndShowMenuOpensTheTileMenu)
{
    TForm1& f = createWithGroups();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QAccessibleActionInterface* one = row(f)->child(0)->actionInterface();
    ASSERT_TRUE(one);

    auto* jump = qobject_cast<QAbstractAnimation*>(f.LaunchBtn[0]->child(2));
    ASSERT_TRUE(jump);
    one->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_NE(jump->state(), QAbstractAnimation::Running)
        << "the press runs after the client has its answer";
    QCoreApplication::processEvents();
    EXPECT_EQ(jump->state(), QAbstractAnimation::Running) << "the tile jumps, as on a click";
    const QStringList after = launchesAfter(1);
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after.first(), path("one.txt") + "||" + home.path());
    QTest::qWait(200);
    EXPECT_EQ(launchesAfter(1, 0).size(), 1) << "launched exactly once";

    // Shift held, as with the mouse: no launch.
    shiftDown = true;
    one->doAction(QAccessibleActionInterface::pressAction());
    QTest::qWait(100);
    EXPECT_EQ(launchesAfter(1, 0).size(), 1);
    shiftDown = false;

    // The tile menu opens at the second tile; its commands act on that tile.
    QMenu* menu = f.form().PopupMenu1;
    bool opened = false;
    // The menu runs a loop of its own: it is looked for and closed from there.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, menu, [&] {
        if (menu->isVisible()) {
            opened = true;
            menu->close();
        }
    });
    poll.start(10);
    row(f)->child(1)->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_FALSE(menu->isVisible()) << "opened from the event loop, not inside the request";
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened; }, 3000));
    poll.stop();
    EXPECT_EQ(f.mouseobj, f.LaunchBtn[1]);
}

TEST_F(Accessibility, TilesScrolledOutOfALongRowAreOffscreen)
{
    writeFile("f.txt", "x");
    QByteArray lines;
    for (int i = 0; i < 100; ++i)
        lines += path("f.txt").toUtf8() + ",,tile " + QByteArray::number(i) + "\r\n";
    writeFile("PondwillowPath0.txt", lines);
    TForm1& f = create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QAccessibleInterface* bar = row(f);
    ASSERT_EQ(bar->childCount(), 100);

    const QRect window(f.mapToGlobal(QPoint(0, 0)), f.size());
    const auto showing = [&](int i) {
        const QAccessible::State s = bar->child(i)->state();
        EXPECT_EQ(s.offscreen, s.invisible) << i;
        return !s.offscreen;
    };
    EXPECT_TRUE(showing(0));
    EXPECT_TRUE(window.contains(bar->child(0)->rect()));
    EXPECT_FALSE(showing(99));
    EXPECT_FALSE(window.intersects(bar->child(99)->rect()));
    int shown = 0;
    while (shown < 100 && showing(shown))
        ++shown;
    EXPECT_GE(shown, 1920 / 52 - 1);
    EXPECT_LE(shown, 1920 / 52 + 1);

    // At the row's end, the last tile is in sight and the first is not.
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QCoreApplication::sendEvent(&f, &end);
    EXPECT_TRUE(showing(99));
    EXPECT_TRUE(window.contains(bar->child(99)->rect()));
    EXPECT_FALSE(showing(0));
}

TEST_F(Accessibility, TheTileTheKeyboardIsOnIsFocusedAndAnnouncedAfterTheWindow)
{
    TForm1& f = createWithGroups();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    listen();
    QAccessibleInterface* bar = row(f);

    f.setKeyFocus(1);
    EXPECT_TRUE(eventsOf(QAccessible::Focus).isEmpty()) << "announced one turn later";
    ASSERT_TRUE(QTest::qWaitFor([] { return !eventsOf(QAccessible::Focus).isEmpty(); }, 2000));
    const QList<EventLog::Event> focus = eventsOf(QAccessible::Focus);
    ASSERT_EQ(focus.size(), 1);
    EXPECT_EQ(focus.first().object, f.LaunchBtn[1]);
    EXPECT_TRUE(bar->child(1)->state().focused);
    EXPECT_FALSE(bar->child(0)->state().focused);
    EXPECT_EQ(bar->focusChild(), bar->child(1));

    // The last announcement is the tile the keyboard ends on.
    EventLog::events().clear();
    f.setKeyFocus(2);
    f.setKeyFocus(0);
    QTest::qWait(50);
    ASSERT_FALSE(eventsOf(QAccessible::Focus).isEmpty());
    EXPECT_EQ(eventsOf(QAccessible::Focus).last().object, f.LaunchBtn[0]);

    // Back from another window, the tile the keyboard is on is told again,
    // after the window's own announcement.
    QWidget other;
    other.setGeometry(1200, 100, 200, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(bar->child(0)->state().focused) << "not while another window is active";
    EventLog::events().clear();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QList<EventLog::Event> focus = eventsOf(QAccessible::Focus);
            return !focus.isEmpty() && focus.last().object == f.LaunchBtn[0];
        },
        2000));
    EXPECT_TRUE(bar->child(0)->state().focused);
}

TEST_F(Accessibility, AGroupSwitchRenamesTheRowAndAnnouncesItsNewTiles)
{
    TForm1& f = createWithGroups();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    listen();
    QObject* view = f.form().view;

    f.MenuClick(2);
    EXPECT_EQ(name(row(f)), "Docs & Notes");
    ASSERT_EQ(row(f)->childCount(), 2);
    EXPECT_EQ(name(row(f)->child(1)), "B");
    const auto on = [view](QAccessible::Event type) {
        const QList<EventLog::Event> list = eventsOf(type);
        return std::count_if(list.cbegin(), list.cend(),
                             [view](const EventLog::Event& e) { return e.object == view; });
    };
    EXPECT_EQ(on(QAccessible::NameChanged), 1);
    EXPECT_GE(on(QAccessible::ObjectReorder), 1);
    // Each new tile is told of as made, for a bridge that passes no reorder on.
    for (TImage* tile : f.LaunchBtn) {
        const QList<EventLog::Event> made = eventsOf(QAccessible::ObjectCreated);
        EXPECT_TRUE(std::any_of(made.cbegin(), made.cend(),
                                [tile](const EventLog::Event& e) { return e.object == tile; }));
    }

    // A tile deleted from its menu: the row's children change, not its name.
    EventLog::events().clear();
    f.mouseobj = f.LaunchBtn[0];
    f.DelBtnClick();
    EXPECT_EQ(row(f)->childCount(), 1);
    EXPECT_EQ(on(QAccessible::NameChanged), 0);
    EXPECT_GE(on(QAccessible::ObjectReorder), 1);
}

TEST_F(Accessibility, APressOnAMenuItemRunsItOnceAndClosesTheMenus)
{
    TForm1& f = createWithGroups();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    Ui::TForm1& ui = f.form();
    ui.PopupMenu2->popup(QPoint(300, 300));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.PopupMenu2));
    ui.PopupMenu2->setActiveAction(ui.MenuItem6->menuAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.MenuItem6->isVisible(); }, 2000));

    // The group submenu's third item, as a client finds and presses it.
    QAccessibleInterface* submenu = QAccessible::queryAccessibleInterface(ui.MenuItem6);
    ASSERT_TRUE(submenu);
    QAccessibleInterface* item = nullptr;
    for (int i = 0; i < submenu->childCount(); ++i)
        if (submenu->child(i)->text(QAccessible::Name).startsWith("Docs & Notes"))
            item = submenu->child(i);
    ASSERT_TRUE(item);
    int runs = 0;
    QObject::connect(ui.Menu2, &QAction::triggered, &f, [&] { ++runs; });
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::qWait(50);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(f.MenuIndex, 2);
    EXPECT_FALSE(ui.MenuItem6->isVisible());
    EXPECT_FALSE(ui.PopupMenu2->isVisible());
    EXPECT_FALSE(QApplication::activePopupWidget());
}

} // namespace
