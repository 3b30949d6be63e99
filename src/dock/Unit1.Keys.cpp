// The dock by keyboard: the tile the keyboard is on, the ring that shows it,
// and the keys that move along the row, launch, open a tile's menu and
// reorder the row.
#include "dock/Unit1.h"

#include "core/Layout.h"
#include "ui_Unit1.h"

#include <QCursor>
#include <QEvent>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <limits>

// The ring round the tile the keyboard is on: a rounded outline in the menus'
// steel blue over a wider white one, so that it shows on light and dark
// panels alike. It lies above the tiles, outside their effects, and follows
// its tile's moves (the jump); hidden, it draws nothing.
class TKeyRing : public QGraphicsObject
{
public:
    static constexpr qreal kOutset = 4; // between the tile's edge and the line's middle
    static constexpr qreal kHalo = 5;   // the white line's width
    static constexpr qreal kLine = 2.5; // the blue line's width
    static constexpr qreal kRadius = 8;
    static constexpr QRgb kColour = 0xff4682b4; // steel blue, as the menus
    static constexpr QRgb kHaloColour = 0xe6ffffff;

    TKeyRing()
    {
        setAcceptedMouseButtons(Qt::NoButton);
        setZValue(1);
        setVisible(false);
    }

    QRectF boundingRect() const override
    {
        return ringRect().adjusted(-kHalo / 2, -kHalo / 2, kHalo / 2, kHalo / 2);
    }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(Qt::NoBrush);
        QPainterPath path;
        path.addRoundedRect(ringRect(), kRadius, kRadius);
        painter->setPen(QPen(QColor::fromRgba(kHaloColour), kHalo));
        painter->drawPath(path);
        painter->setPen(QPen(QColor::fromRgba(kColour), kLine));
        painter->drawPath(path);
    }

    // Shows the ring round `tile`, or hides it (nullptr).
    void follow(TImage* tile)
    {
        if (tile != tile_) {
            for (const QMetaObject::Connection& c : connections_)
                disconnect(c);
            connections_.clear();
            tile_ = tile;
            if (tile) {
                // The jump moves the tile across the dock; the ring goes with it.
                connections_ << connect(tile, &QGraphicsObject::xChanged, this, &TKeyRing::place)
                             << connect(tile, &QGraphicsObject::yChanged, this, &TKeyRing::place);
            }
        }
        if (tile)
            place();
        setVisible(tile != nullptr);
    }

private:
    QRectF ringRect() const
    {
        return QRectF(-kOutset, -kOutset, size_ + 2 * kOutset, size_ + 2 * kOutset);
    }

    void place()
    {
        if (!tile_)
            return;
        // The tile turns about its centre; at rest it covers the same square.
        const qreal size = tile_->Width();
        if (size != size_) {
            prepareGeometryChange();
            size_ = size;
        }
        setPos(tile_->mapToScene(QPointF(size / 2, size / 2)) - QPointF(size / 2, size / 2));
    }

    QPointer<TImage> tile_;
    QList<QMetaObject::Connection> connections_;
    qreal size_ = 0;
};

void TForm1::setKeyFocus(int index)
{
    if (index < -1 || index >= LaunchBtn.size())
        index = LaunchBtn.isEmpty() ? -1 : int(LaunchBtn.size()) - 1;
    keysInUse_ = index >= 0;
    if (index >= 0)
        bringIntoView(index);
    putKeyFocus(index);
}

void TForm1::putKeyFocus(int index)
{
    TImage* tile = index >= 0 ? LaunchBtn[index] : nullptr;
    const bool changed = index != keyFocus_ || tile != keyTile_.data();
    keyFocus_ = index;
    keyTile_ = tile;
    keyGroup_ = MenuIndex;
    updateKeyRing();
    // A change of tile at the same index (another group, a tile removed) is a
    // change too.
    if (changed)
        emit keyFocusChanged(index);
}

void TForm1::updateKeyRing()
{
    TImage* tile = keysInUse_ && keyFocus_ >= 0 ? LaunchBtn.value(keyFocus_) : nullptr;
    if (!tile && !keyRing_)
        return;
    if (!keyRing_) {
        keyRing_ = new TKeyRing;
        scene_->addItem(keyRing_);
    }
    keyRing_->follow(tile);
}

void TForm1::keepKeyFocusOnRow()
{
    if (keyFocus_ < 0)
        return;
    int index = -1;
    if (keyGroup_ != MenuIndex)
        index = 0; // another group: its first tile
    else if (const qsizetype at = LaunchBtn.indexOf(keyTile_.data()); keyTile_ && at >= 0)
        index = int(at); // the tile moved: the keyboard goes with it
    else
        index = std::min(keyFocus_, int(LaunchBtn.size()) - 1);
    putKeyFocus(LaunchBtn.isEmpty() ? -1 : index);
}

void TForm1::keyboardCame()
{
    // The keyboard starts on the first tile; the ring waits for a key.
    if (keyFocus_ < 0 && !LaunchBtn.isEmpty())
        putKeyFocus(0);
}

void TForm1::hideKeyRing()
{
    keysInUse_ = false;
    updateKeyRing();
}

void TForm1::mouseOnDock(const QEvent* e)
{
    // Only the user's own mouse: the moves the dock sends itself when the row
    // scrolls under a resting pointer leave the ring alone.
    if (!keysInUse_ || !e->spontaneous())
        return;
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
        hideKeyRing();
        break;
    default:
        break;
    }
}

void TForm1::bringIntoView(int index)
{
    const QRect shown = shownFrame();
    if (pw::layout::maxScroll(isVertical, frame_, shown) == 0 || LaunchBtn.isEmpty())
        return;
    // The tiles' places in the row, whether their tiles are made or not.
    const auto along = [this](qsizetype i) {
        const QPointF pos = LaunchBtn.slot(i).pos;
        return isVertical ? pos.y() : pos.x();
    };
    // As much room before and after the tile as the row leaves before its
    // first tile and after its last, so that the ends show as Home and End
    // show them.
    const qreal before = std::max<qreal>(0, along(0));
    const qreal after = std::max<qreal>(0, (isVertical ? frame_.height() : frame_.width()) -
                                               along(LaunchBtn.size() - 1) - bw);
    const qreal start = along(index) - before;
    const qreal end = along(index) + bw + after;
    const int length = isVertical ? shown.height() : shown.width();
    int offset = scroll_;
    if (start < scroll_)
        offset = int(std::floor(start));
    else if (end > scroll_ + length)
        offset = int(std::ceil(end - length));
    QWidget* viewport = ui->view->viewport();
    scrollRowTo(offset, viewport->mapFromGlobal(QCursor::pos().toPointF()));
}

bool TForm1::rowKey(QKeyEvent* e)
{
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    // Home and End bring a row longer than the screen to its start or end,
    // and the keyboard to its first or last tile.
    if (key == Qt::Key_Home || key == Qt::Key_End) {
        const bool home = key == Qt::Key_Home;
        QWidget* viewport = ui->view->viewport();
        scrollRowTo(home ? 0 : std::numeric_limits<int>::max(),
                    viewport->mapFromGlobal(QCursor::pos().toPointF()), e->modifiers());
        if (!LaunchBtn.isEmpty())
            setKeyFocus(home ? 0 : int(LaunchBtn.size()) - 1);
        return true;
    }
    if (key == Qt::Key_Escape && mods == Qt::NoModifier) {
        if (keyFocus_ < 0)
            return false;
        setKeyFocus(-1);
        return true;
    }

    enum class Act { Step, Move, Launch, NoLaunch, Menu };
    Act act;
    int step = 0;
    const int back = isVertical ? Qt::Key_Up : Qt::Key_Left;
    const int forward = isVertical ? Qt::Key_Down : Qt::Key_Right;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if ((key == back || key == forward) &&
        (mods == Qt::NoModifier || mods == Qt::ControlModifier)) {
        act = mods == Qt::NoModifier ? Act::Step : Act::Move;
        step = key == back ? -1 : 1;
    } else if (enter && mods == Qt::NoModifier) {
        act = Act::Launch;
    } else if (enter && mods == Qt::ShiftModifier) {
        // As a Shift-click: nothing starts.
        act = Act::NoLaunch;
    } else if ((key == Qt::Key_Menu && mods == Qt::NoModifier) ||
               (key == Qt::Key_F10 && mods == Qt::ShiftModifier)) {
        act = Act::Menu;
    } else {
        return false;
    }
    if (LaunchBtn.isEmpty())
        return true;
    // An arrow moves at once, from the first tile when the keyboard was off
    // the row.
    if (act == Act::Step) {
        setKeyFocus(keyFocus_ < 0 ? 0 : std::clamp(keyFocus_ + step, 0, int(LaunchBtn.size()) - 1));
        return true;
    }
    // Otherwise the first key after the mouse (or ever) shows where the
    // keyboard is and does nothing else: no launch, no move, no menu on a
    // tile the user did not see chosen.
    if (!keysInUse_ || keyFocus_ < 0) {
        setKeyFocus(std::max(keyFocus_, 0));
        return true;
    }
    const int from = keyFocus_;
    switch (act) {
    case Act::Step:
        break;
    case Act::Move: {
        const int to = from + step;
        if (to < 0 || to >= LaunchBtn.size())
            break;
        // As a Shift-drag moves a tile: the same lists, the same pass, the
        // same write. The keyboard follows its tile through the pass.
        LaunchBtn.move(from, to);
        moveEntry(from, to);
        ReSetBtn();
        bringIntoView(keyFocus_);
        saveGroup();
        break;
    }
    case Act::Launch:
        // A held key launches once, as a click does.
        if (!e->isAutoRepeat())
            BtnClickEvent(LaunchBtn[from]);
        break;
    case Act::NoLaunch:
        break;
    case Act::Menu:
        if (!e->isAutoRepeat())
            showTileMenu(from);
        break;
    }
    return true;
}

void TForm1::showTileMenu(int index)
{
    if (index < 0 || index >= LaunchBtn.size())
        return;
    TImage* tile = LaunchBtn[index];
    mouseobj = tile;
    // Below the tile's middle, counted from the part of the row the window shows.
    const QPointF at = tile->mapToScene(QPointF(bw / 2.0, bw));
    ui->PopupMenu1->exec(ui->view->viewport()->mapToGlobal(ui->view->mapFromScene(at)));
}
