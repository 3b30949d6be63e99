// The dock's menus: shortcuts while a menu is open, and the menus' look as
// rendered.
#include "dock/DockMenus.h"
#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QVariantAnimation>

#include <functional>

namespace
{

using pw::menus::DockMenu;
namespace look = pw::menus::look;

class Menus : public DockFixture
{
protected:
    // A dock showing group 0 (one file); group 2 has two files.
    TForm1& createWithGroups()
    {
        writeFile("a.txt", "x");
        writeFile("b.txt", "x");
        writeFile("PondwillowPath0.txt", (path("a.txt") + ",,A\r\n").toUtf8());
        writeFile("PondwillowPath2.txt",
                  (path("a.txt") + ",,A\r\n" + path("b.txt") + ",,B\r\n").toUtf8());
        return create();
    }

    static void open(QMenu* menu)
    {
        menu->popup(QPoint(300, 300));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    }

    // Opens the group submenu from the background menu, as the mouse does.
    static void openSubmenu(Ui::TForm1& ui)
    {
        open(ui.PopupMenu2);
        ui.PopupMenu2->setActiveAction(ui.MenuItem6->menuAction());
        ASSERT_TRUE(QTest::qWaitFor([&] { return ui.MenuItem6->isVisible(); }, 2000));
        ASSERT_EQ(QApplication::activePopupWidget(), ui.MenuItem6);
    }

    // The menu as it is painted, on a transparent image.
    static QImage render(QMenu* menu)
    {
        QImage out(menu->size(), QImage::Format_ARGB32);
        out.fill(Qt::transparent);
        menu->render(&out, QPoint(), QRegion(), QWidget::DrawChildren);
        return out;
    }

    static int countPixels(const QImage& image, const QRect& area,
                           const std::function<bool(QColor)>& test)
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += test(image.pixelColor(x, y)) ? 1 : 0;
        return n;
    }

    static bool white(QColor c) { return c.red() > 220 && c.green() > 220 && c.blue() > 220; }
    static bool dark(QColor c) { return c.red() + c.green() + c.blue() < 200; }
};

// ---- keys ------------------------------------------------------------------------------------

struct KeyCase {
    const char* name;
    enum Open { Nothing, TileMenu, BackgroundMenu, Submenu } open;
    QKeyCombination key;
    const char* action;
    std::function<void(TForm1&)> check;
};

TEST_F(Menus, AShortcutRunsItsItemOnceAndClosesTheOpenMenus)
{
    const auto showsGroup = [](int k, int tiles) {
        return [k, tiles](TForm1& f) {
            EXPECT_EQ(f.MenuIndex, k);
            EXPECT_TRUE(f.groupItem(k)->isChecked());
            EXPECT_EQ(f.LaunchBtn.size(), tiles);
        };
    };
    const auto addModeOn = [](TForm1& f) {
        EXPECT_TRUE(f.isAddMode());
        EXPECT_TRUE(f.form().AddMenu->isChecked());
        EXPECT_TRUE(f.form().AddMenu2->isChecked());
    };
    const KeyCase cases[] = {
        {"F3 in the background menu", KeyCase::BackgroundMenu, Qt::Key_F3, "Menu2",
         showsGroup(2, 2)},
        {"Ctrl+N in the background menu", KeyCase::BackgroundMenu, Qt::CTRL | Qt::Key_N, "AddMenu2",
         addModeOn},
        {"Ctrl+N in the tile menu, which does not hold the item", KeyCase::TileMenu,
         Qt::CTRL | Qt::Key_N, "AddMenu2", addModeOn},
        {"F3 in the tile menu", KeyCase::TileMenu, Qt::Key_F3, "Menu2", showsGroup(2, 2)},
        {"F5 in the group submenu", KeyCase::Submenu, Qt::Key_F5, "Menu4", showsGroup(4, 0)},
        {"Ctrl+N in the group submenu", KeyCase::Submenu, Qt::CTRL | Qt::Key_N, "AddMenu2",
         addModeOn},
        {"Ctrl+X in the group submenu", KeyCase::Submenu, Qt::CTRL | Qt::Key_X, "CloseCmd2",
         [](TForm1& f) {
             EXPECT_FALSE(f.isVisible());
             EXPECT_TRUE(QFile::exists(f.HomePath + "Pondwillow.ini")) << "closing saves";
         }},
        {"F3 with no menu open", KeyCase::Nothing, Qt::Key_F3, "Menu2", showsGroup(2, 2)},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        TForm1& f = createWithGroups();
        Ui::TForm1& ui = f.form();
        ASSERT_EQ(f.MenuIndex, 0);
        ASSERT_FALSE(f.isAddMode());
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        switch (c.open) {
        case KeyCase::Nothing:
            break;
        case KeyCase::TileMenu:
            open(ui.PopupMenu1);
            break;
        case KeyCase::BackgroundMenu:
            open(ui.PopupMenu2);
            break;
        case KeyCase::Submenu:
            openSubmenu(ui);
            break;
        }
        auto* action = f.findChild<QAction*>(QString::fromLatin1(c.action));
        ASSERT_TRUE(action);
        QSignalSpy triggered(action, &QAction::triggered);

        QWidget* target = QApplication::activePopupWidget();
        QTest::keyClick(target ? target : &f, c.key.key(), c.key.keyboardModifiers());
        QCoreApplication::processEvents();

        EXPECT_EQ(triggered.count(), 1);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        for (QMenu* m : {static_cast<QMenu*>(ui.PopupMenu1), static_cast<QMenu*>(ui.PopupMenu2),
                         static_cast<QMenu*>(ui.MenuItem6)})
            EXPECT_FALSE(m->isVisible()) << m->objectName().toStdString();
        c.check(f);
        dock.reset();
    }
}

TEST_F(Menus, OtherKeysStillMoveThroughTheOpenMenu)
{
    TForm1& f = createWithGroups();
    Ui::TForm1& ui = f.form();
    open(ui.PopupMenu2);
    QSignalSpy settings(ui.Seting2, &QAction::triggered);

    QTest::keyClick(ui.PopupMenu2, Qt::Key_Down);
    EXPECT_EQ(ui.PopupMenu2->activeAction(), ui.Seting2);
    // A letter no item has as its shortcut.
    QTest::keyClick(ui.PopupMenu2, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(ui.PopupMenu2->isVisible());
    EXPECT_EQ(settings.count(), 0);
    EXPECT_EQ(f.MenuIndex, 0);
}

// ---- look ------------------------------------------------------------------------------------

TEST_F(Menus, EveryMenuIsASteelBluePanelWithRoundCornersAndAShadowToTheLowerRight)
{
    TForm1& f = create();
    Ui::TForm1& ui = f.form();
    for (DockMenu* menu : {ui.PopupMenu1, ui.PopupMenu2, ui.MenuItem6}) {
        SCOPED_TRACE(menu->objectName().toStdString());
        open(menu);
        const QImage img = render(menu);
        const QRect panel = menu->panelRect();
        ASSERT_TRUE(img.rect().contains(panel.adjusted(-1, -1, 1, 1)));

        // Inside: steel blue at an opacity of 0.99; the edge: silver.
        const QColor inside = img.pixelColor(panel.left() + 3, panel.center().y());
        EXPECT_NEAR(inside.red(), 70, 2);
        EXPECT_NEAR(inside.green(), 130, 2);
        EXPECT_NEAR(inside.blue(), 180, 2);
        // 0.99 over the shadow: nearly, but not quite, opaque.
        EXPECT_GE(inside.alpha(), 252);
        EXPECT_LT(inside.alpha(), 255);
        const QColor edge = img.pixelColor(panel.left(), panel.center().y());
        EXPECT_NEAR(edge.red(), 192, 4);
        EXPECT_NEAR(edge.blue(), 192, 4);

        // The corners outside the radius show no panel: nothing at all at
        // the upper left, at most the black shadow elsewhere.
        EXPECT_EQ(img.pixelColor(panel.topLeft()).alpha(), 0);
        for (QPoint corner : {panel.topRight(), panel.bottomLeft(), panel.bottomRight()}) {
            const QColor c = img.pixelColor(corner);
            EXPECT_TRUE(c.alpha() < 170 && c.blue() < 60) << corner.x() << "," << corner.y();
        }

        // Beyond the panel the shadow is darker at the lower right than at
        // the upper left.
        const int midX = panel.center().x();
        const int midY = panel.center().y();
        const QColor right = img.pixelColor(panel.right() + 2, midY);
        const QColor below = img.pixelColor(midX, panel.bottom() + 2);
        EXPECT_GT(right.alpha(), img.pixelColor(panel.left() - 1, midY).alpha() + 40);
        EXPECT_GT(below.alpha(), img.pixelColor(midX, panel.top() - 1).alpha() + 40);
        EXPECT_TRUE(dark(right) && dark(below));
        EXPECT_LE(right.alpha(), int(255 * look::shadowOpacity) + 1);
        menu->close();
    }
}

TEST_F(Menus, OnlyTheItemUnderTheMouseHasWhiteText)
{
    TForm1& f = create();
    DockMenu* menu = f.form().PopupMenu2;
    open(menu);
    QAction* hovered = f.form().CloseCmd2;
    menu->setActiveAction(hovered);
    const QImage img = render(menu);

    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            continue;
        SCOPED_TRACE(a->text().toStdString());
        const pw::menus::Row row = menu->row(a);
        const int whiteText = countPixels(img, row.caption, white);
        if (a == hovered) {
            EXPECT_GT(whiteText, 10);
            EXPECT_GT(countPixels(img, row.shortcut, white), 5) << "the shortcut turns white too";
            // No highlight bar: the row keeps the panel's colour behind the text.
            const QColor gap = img.pixelColor(row.caption.left() - 2, row.caption.center().y());
            EXPECT_NEAR(gap.blue(), 180, 2);
        } else {
            EXPECT_EQ(whiteText, 0);
            EXPECT_GT(countPixels(img, row.caption, dark), 10) << "black caption";
            if (!row.shortcut.isEmpty()) {
                EXPECT_EQ(countPixels(img, row.shortcut, white), 0);
            }
        }
    }
}

TEST_F(Menus, TheTickOfACheckedItemFadesIn)
{
    TForm1& f = create();
    DockMenu* menu = f.form().MenuItem6;
    ASSERT_TRUE(f.form().Menu0->isChecked());
    // Opening the menu starts the fade; it is held at its start to look at it.
    menu->popup(QPoint(300, 300));
    QVariantAnimation* fade = menu->tickFade();
    ASSERT_EQ(fade->state(), QAbstractAnimation::Running);
    EXPECT_EQ(fade->duration(), look::tickFadeMs);
    fade->pause();
    fade->setCurrentTime(0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));

    const QRect checked = menu->row(f.form().Menu0).tick;
    const QRect unchecked = menu->row(f.form().Menu1).tick;
    EXPECT_EQ(checked.size(), QSize(look::tickSize, look::tickSize));
    EXPECT_EQ(countPixels(render(menu), checked, dark), 0) << "no tick at the start";

    fade->setCurrentTime(look::tickFadeMs);
    EXPECT_EQ(fade->state(), QAbstractAnimation::Stopped) << "the fade ends by itself";
    const QImage end = render(menu);
    EXPECT_GT(countPixels(end, checked, dark), 6);
    EXPECT_EQ(countPixels(end, unchecked, dark), 0);

    // An item checked while the menu is open fades in the same way.
    f.form().Menu1->setChecked(true);
    ASSERT_EQ(fade->state(), QAbstractAnimation::Running);
    fade->pause();
    fade->setCurrentTime(0);
    EXPECT_EQ(countPixels(render(menu), unchecked, dark), 0);
    fade->setCurrentTime(look::tickFadeMs);
    EXPECT_GT(countPixels(render(menu), unchecked, dark), 6);
    EXPECT_EQ(countPixels(render(menu), checked, dark), 0) << "the radio group moved the check";
}

TEST_F(Menus, RowsFollowTheMetrics)
{
    TForm1& f = create();
    Ui::TForm1& ui = f.form();
    DockMenu* menu = ui.PopupMenu2;
    open(menu);
    const QRect panel = menu->panelRect();
    const QList<QAction*> items = menu->actions();
    const QRect first = menu->actionGeometry(items.first());
    const QRect last = menu->actionGeometry(items.last());
    EXPECT_EQ(first.left(), panel.left() + look::padding.left());
    EXPECT_EQ(first.top(), panel.top() + look::padding.top() + look::itemAreaPadding);
    EXPECT_EQ(last.bottom() + look::itemAreaPadding + look::padding.bottom(), panel.bottom());
    EXPECT_EQ(first.right() + look::padding.right(), panel.right());

    // An item with a shortcut: glyph column, caption, shortcut at the right.
    const QRect settingsRow = menu->actionGeometry(ui.Seting2);
    const pw::menus::Row settings = menu->row(ui.Seting2);
    EXPECT_EQ(settings.glyph,
              QRect(settingsRow.left(), settingsRow.top(), 25, settingsRow.height()));
    EXPECT_EQ(settings.tick.center(), settings.glyph.center());
    EXPECT_EQ(settings.caption.left(), settings.glyph.right() + 1 + 8);
    EXPECT_EQ(settings.shortcut.right() + 1 + 6, settingsRow.right() + 1);
    EXPECT_GE(settings.shortcut.left() - settings.caption.right() - 1, 8 + 12);
    EXPECT_GE(settings.caption.width(), menu->fontMetrics().horizontalAdvance(ui.Seting2->text()));
    EXPECT_GE(settings.shortcut.width(),
              QFontMetrics(look::shortcutFont()).horizontalAdvance(QStringLiteral("F12")));

    // The submenu's arrow at the far right.
    const QRect groupsRow = menu->actionGeometry(ui.MenuItem6->menuAction());
    const pw::menus::Row groups = menu->row(ui.MenuItem6->menuAction());
    EXPECT_EQ(groups.arrow.size(), QSize(7, 8));
    EXPECT_EQ(groups.arrow.right() + 1 + look::arrowAfter, groupsRow.right() + 1);

    // The separator: a line 1 high with 3 above and below.
    QAction* separator = items.at(3);
    ASSERT_TRUE(separator->isSeparator());
    const QRect line = menu->actionGeometry(separator);
    EXPECT_EQ(line.height(), 7);
    EXPECT_EQ(menu->row(separator).separator, QRect(line.left(), line.top() + 3, line.width(), 1));

    // Captions in Meiryo, or the Japanese font installed in its place.
    EXPECT_TRUE(QStringList({"Meiryo", "IPAGothic"}).contains(QFontInfo(menu->font()).family()))
        << QFontInfo(menu->font()).family().toStdString();
}

} // namespace
