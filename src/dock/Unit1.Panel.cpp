// The background panel: its fill, and dragging the window by it.
#include "dock/Unit1.h"

#include "ui_Unit1.h"

#include <QCursor>
#include <QFileInfo>
#include <QMenu>

namespace
{
QColor argb(std::int32_t c)
{
    return QColor::fromRgba(static_cast<QRgb>(c));
}
} // namespace

// ---- moving the window ------------------------------------------------------------------

// The window follows the pointer from the press until the release, held at the
// place in the window where it was grabbed. The pointer's place is asked of
// the screen each time, and the window's own place is the dock's, so a window
// manager that misreports it cannot make the window jump; and as the grab is
// counted in the window's own pixels, a window carried onto a monitor of
// another pixel density stays under the pointer.
void TForm1::Rectangle1MouseDown(Qt::MouseButton)
{
    dragging_ = true;
    dragMoved_ = false;
    dragStart_ = QCursor::pos();
    dragGrab_ = dragStart_ - frame_.topLeft();
    dragScreen_ = screen_;
}

void TForm1::panelMoved()
{
    if (!dragging_)
        return;
    const QPoint pointer = QCursor::pos();
    if ((pointer - dragStart_).manhattanLength() > 3)
        dragMoved_ = true;
    frame_.moveTopLeft(pointer - dragGrab_);
    syncGeometry();
}

void TForm1::panelReleased(Qt::MouseButton button)
{
    dragging_ = false;
    if (dragMoved_) {
        // Where the user put the dock is its position, wherever it stood in.
        standingIn_.reset();
        // Let go, the dock belongs to the monitor under it; carried onto
        // another, it is kept on that one at its edge.
        GetScale();
        if (screen_ != dragScreen_)
            placeOnScreen();
    }
    // A right click that did not move the window opens the panel's menu.
    if (button == Qt::RightButton && !dragMoved_)
        ui->PopupMenu2->popup(QCursor::pos());
}

// ---- background ------------------------------------------------------------------------------

void TForm1::SetBackColor()
{
    if (isGazou) {
        if (!QFileInfo(GazouFile).isFile())
            return;
        QImage picture(GazouFile);
        // A file that is not a readable picture leaves the panel as it was.
        if (picture.isNull())
            return;
        Rectangle1->setBitmap(std::move(picture));
        return;
    }
    if (isGradient) {
        Rectangle1->setGradient(argb(Color0), argb(Color1));
        switch (Direction) {
        case 0:
            Rectangle1->setGradientPoints({0, 0}, {0, 1});
            break;
        case 1:
            Rectangle1->setGradientPoints({0, 0}, {1, 0});
            break;
        case 2:
            Rectangle1->setGradientPoints({0, 0}, {1, 1});
            break;
        default:
            break;
        }
        return;
    }
    Rectangle1->setSolid(argb(Color0));
}
