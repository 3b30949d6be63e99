#pragma once

#include <QFont>
#include <QImage>
#include <QMargins>
#include <QMenu>
#include <QRgb>
#include <QSet>
#include <QSize>

class QStyleOptionMenuItem;
class QVariantAnimation;

// The dock's context menus: one look for every menu and submenu, and the
// dock's shortcuts kept working while a menu is open.
namespace pw::menus
{
// The look, in pixels unless stated otherwise.
namespace look
{
// The panel: a rounded rectangle with an outline, nearly opaque.
inline constexpr qreal cornerRadius = 5;
inline constexpr QRgb fill = 0xff4682b4;    // steel blue
inline constexpr QRgb outline = 0xffc0c0c0; // silver
inline constexpr qreal panelOpacity = 0.99;
// Room between the panel's edge and the rows.
inline constexpr QMargins padding{5, 5, 8, 8};
// Above the first row and below the last.
inline constexpr int itemAreaPadding = 6;

// The panel casts a black shadow towards the lower right.
inline constexpr qreal shadowDistance = 3;
inline constexpr qreal shadowDirection = 45; // degrees, clockwise from the right
inline constexpr qreal shadowSoftness = 0.3;
inline constexpr qreal shadowOpacity = 0.6;
// Pixels of blur per unit of softness.
inline constexpr qreal blurPerSoftness = 10;

// A row: glyph column (picture and check mark), caption, shortcut, arrow.
inline constexpr int glyphColumn = 25;
inline constexpr int iconInset = 2;
inline constexpr int tickSize = 11;
inline constexpr int tickFadeMs = 100;
inline constexpr int captionSpace = 8; // on either side of the caption
inline constexpr int shortcutBefore = 12;
inline constexpr int shortcutAfter = 6;
inline constexpr QSize arrowSize{7, 8};
inline constexpr int arrowAfter = 6;
// Above and below the text of a row, when the text is taller than the glyph column is wide.
inline constexpr int textSpace = 2;
inline constexpr int separatorHeight = 1;
inline constexpr int separatorSpace = 3; // above and below the line
inline constexpr int fontPixelSize = 14;

// Black text turns white under the mouse; a disabled item's text is grey.
inline constexpr QRgb text = 0xff000000;
inline constexpr QRgb hoveredText = 0xffffffff;
inline constexpr QRgb disabledText = 0xff808080;

// Meiryo, or the installed Japanese font where Meiryo is missing.
QFont captionFont();
QFont shortcutFont();

// Where the shadow falls, and the room the menu leaves around the panel for it.
QPointF shadowOffset();
int shadowBlur();
QMargins shadowMargins();
} // namespace look

// The parts of one row, in the menu's coordinates.
struct Row {
    QRect glyph;
    QRect icon;
    QRect tick;
    QRect caption;
    QRect shortcut; // empty without a shortcut
    QRect arrow;    // empty without a submenu
    QRect separator;
};
// Lays out the row of an item whose option has been filled by its menu.
Row layoutRow(const QStyleOptionMenuItem& item);

// A popup menu in the dock's look. It paints its own panel, shadow and rows;
// its rows are measured by a shared style so that QMenu's own placement of
// the items, mouse tracking and keyboard navigation stay as they are.
//
// While it is open, a key that is the shortcut of an action of the window
// the menu belongs to runs that action once and closes the open menus, as a
// click on the item would.
class DockMenu : public QMenu
{
    Q_OBJECT
public:
    explicit DockMenu(QWidget* parent = nullptr);
    explicit DockMenu(const QString& title, QWidget* parent = nullptr);

    // The panel inside the widget; the margin around it holds the shadow.
    QRect panelRect() const;
    Row row(QAction* action) const;
    // The check marks' fade-in. It starts when the menu opens and when an item
    // is checked while it is open, and stops by itself.
    QVariantAnimation* tickFade() const { return tickFade_; }

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void actionEvent(QActionEvent* e) override;

private:
    QAction* shortcutAction(const QKeyEvent& e) const;
    // Closes every open menu, innermost first.
    static void closeOpenMenus();
    QList<QAction*> windowActions() const;
    void fadeIn(const QSet<const QAction*>& items);
    qreal tickOpacity(const QAction* action) const;
    void paintShadow(QPainter& p, const QRect& panel);

    QVariantAnimation* tickFade_ = nullptr;
    // The items shown checked, and those of them whose tick is fading in.
    QSet<const QAction*> checked_;
    QSet<const QAction*> fading_;
    QImage shadow_;
};
} // namespace pw::menus
