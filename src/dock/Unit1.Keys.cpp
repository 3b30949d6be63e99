// The dock by keyboard: the tile the keyboard is on, and its menu.
#include "dock/Unit1.h"

#include "ui_Unit1.h"

#include <QGraphicsView>

void TForm1::setKeyFocus(int index)
{
    if (index < -1 || index >= LaunchBtn.size())
        index = LaunchBtn.isEmpty() ? -1 : int(LaunchBtn.size()) - 1;
    if (index == keyFocus_)
        return;
    keyFocus_ = index;
    emit keyFocusChanged(index);
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
