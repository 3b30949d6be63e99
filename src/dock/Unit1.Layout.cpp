// Laying out the tiles and sizing the window around them, and scrolling a
// row longer than the screen.
#include "dock/Unit1.h"

#include "core/Layout.h"
#include "core/SettingBounds.h"
#include "dock/DockAccessibility.h"
#include "platform/LayerShell.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

// ---- layout -------------------------------------------------------------------------

pw::layout::Params TForm1::layoutParams() const
{
    return {isVertical, RefrectMode, bw, Gp, BackSize, xyoffset, PopLength};
}

void TForm1::startCursor()
{
    const QPointF start = pw::layout::cursorStart(layoutParams());
    Gx = float(start.x());
    Gy = float(start.y());
}

void TForm1::BeginLayout()
{
    const pw::layout::Params p = layoutParams();
    Gx = 0;
    Gy = 0;
    if (const auto align = pw::layout::panelAlign(p))
        Rectangle1->setAlign(*align);
    const int across = pw::layout::acrossSize(p);
    QSizeF panel = Rectangle1->size();
    if (isVertical) {
        SetWidth(across);
        panel.setWidth(BackSize);
    } else {
        SetHeight(across);
        panel.setHeight(BackSize);
    }
    Rectangle1->setSize(panel);
    alignPanel();
    placedInPass_ = 0;
}

std::optional<QPointF> TForm1::placeNext()
{
    const pw::layout::Params p = layoutParams();
    QPointF cursor(Gx, Gy);
    const std::optional<QPointF> pos =
        pw::layout::placeTile(p, cursor, Rectangle1->size(), frame_.size());
    if (pos) {
        Gx = float(cursor.x());
        Gy = float(cursor.y());
    }
    ++placedInPass_;
    return pos;
}

void TForm1::lengthen()
{
    const pw::layout::Params p = layoutParams();
    const int length = pw::layout::lengthAfterPlace(p, QPointF(Gx, Gy));
    if (isVertical)
        SetHeight(length);
    else
        SetWidth(length);
}

void TForm1::SetFormBtn(TTileRow::Slot& slot)
{
    if (const std::optional<QPointF> pos = placeNext()) {
        slot.pos = *pos;
        if (slot.tile)
            slot.tile->setPos(*pos);
    }
    lengthen();
}

void TForm1::EndLayout()
{
    const pw::layout::Params p = layoutParams();
    if (placedInPass_ == 0) {
        // An empty dock keeps room for one tile slot, where the drop zone shows.
        if (isVertical)
            SetHeight(pw::layout::emptyLength(p));
        else
            SetWidth(pw::layout::emptyLength(p));
    } else if (isVertical) {
        SetHeight(Height() - bw);
    }
    placeOnScreen();
}

void TForm1::ReSetBtn()
{
    PassGuard pass(*this);
    BeginLayout();
    DropTarget1->setVisible(false);
    startCursor();
    for (qsizetype i = 0; i < LaunchBtn.size(); ++i)
        SetFormBtn(LaunchBtn.slot(i));
    EndLayout();
    keepKeyFocusOnRow();
    pw::access::rowChanged(*this, pw::access::RowChange::Children);
}

// ---- window geometry --------------------------------------------------------------

void TForm1::SetLeft(int v)
{
    frame_.moveLeft(v);
    syncGeometry();
}

void TForm1::SetTop(int v)
{
    frame_.moveTop(v);
    syncGeometry();
}

void TForm1::SetWidth(int v)
{
    frame_.setWidth(std::max(0, v));
    alignPanel();
    syncGeometry();
}

void TForm1::SetHeight(int v)
{
    frame_.setHeight(std::max(0, v));
    alignPanel();
    syncGeometry();
}

void TForm1::syncGeometry()
{
    if (passDepth_ > 0 || !ui)
        return;
    const QRect shown = shownFrame();
    // A row longer than the screen starts at the screen's start.
    frame_.moveTopLeft(shown.topLeft());
    scene_->setSceneRect(0, 0, frame_.width(), frame_.height());
    if (geometry() != shown)
        setGeometry(shown);
    // A layer surface of a Wayland compositor stands where the compositor is
    // told: the same place.
    pw::platform::placeLayerSurface(*this, shown, screen_);
    applyScroll();
}

QRect TForm1::shownFrame() const
{
    return pw::layout::shownWindow(isVertical, frame_, screen_);
}

void TForm1::applyScroll()
{
    const QRect shown = shownFrame();
    scroll_ = std::clamp(scroll_, 0, pw::layout::maxScroll(isVertical, frame_, shown));
    const QPointF origin = isVertical ? QPointF(0, scroll_) : QPointF(scroll_, 0);
    ui->view->setSceneRect(QRectF(origin, QSizeF(shown.size())));
    alignPanel();
    realizeShownTiles();
}

void TForm1::realizeShownTiles()
{
    const QRect shown = shownFrame();
    const pw::layout::IndexRange range =
        pw::layout::tilesInSpan(layoutParams(), scroll_,
                                isVertical ? shown.height() : shown.width(), int(LaunchBtn.size()));
    // The tiles a scroll took off screen are given back, all but the one the
    // keyboard is on, which it follows through moves.
    for (qsizetype i = 0; i < LaunchBtn.size(); ++i) {
        if (i >= range.first && i < range.last)
            continue;
        if (TImage* tile = LaunchBtn.madeAt(i); tile && tile != keyTile_.data())
            disposeTile(LaunchBtn.release(i));
    }
    for (int i = range.first; i < range.last; ++i)
        realizeTile(LaunchBtn[i]);
}

bool TForm1::wheelScroll(QWheelEvent* e)
{
    const int max = pw::layout::maxScroll(isVertical, frame_, shownFrame());
    if (max == 0)
        return false;
    e->accept();
    const QPoint angle = e->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    const int step = pw::layout::wheelStep(layoutParams(), QApplication::wheelScrollLines());
    scrollRowTo(pw::layout::scrolledBy(scroll_, delta, step, max), e->position(), e->modifiers());
    return true;
}

bool TForm1::scrollRowTo(int offset, std::optional<QPointF> pointer,
                         Qt::KeyboardModifiers modifiers)
{
    const int next = std::clamp(offset, 0, pw::layout::maxScroll(isVertical, frame_, shownFrame()));
    if (next == scroll_)
        return false;
    scroll_ = next;
    applyScroll();
    // The row moved under a resting pointer: the tile under it is entered.
    QWidget* viewport = ui->view->viewport();
    if (pointer && QGuiApplication::mouseButtons() == Qt::NoButton &&
        viewport->rect().contains(pointer->toPoint())) {
        QMouseEvent move(QEvent::MouseMove, *pointer, viewport->mapToGlobal(*pointer), Qt::NoButton,
                         Qt::NoButton, modifiers);
        QCoreApplication::sendEvent(viewport, &move);
    }
    return true;
}

void TForm1::alignPanel()
{
    if (!Rectangle1)
        return;
    // The panel spans the window as shown, wherever the row is scrolled to.
    QRectF r = pw::layout::panelRect(Rectangle1->align(), Rectangle1->size(), shownFrame().size());
    r.translate(isVertical ? QPointF(0, scroll_) : QPointF(scroll_, 0));
    Rectangle1->setSize(r.size());
    Rectangle1->setPos(r.topLeft());
}

void TForm1::SetTransparency(bool on)
{
    transparency_ = on;
    ui->view->setBackgroundBrush(on ? QBrush(Qt::NoBrush) : palette().window());
    ui->view->viewport()->update();
}
