#include "editors/ToolDialog.h"

#include "editors/WindowPlacement.h"
#include "editors/WindowTheme.h"

TToolDialog::TToolDialog(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
}

void TToolDialog::showEvent(QShowEvent* e)
{
    // Fixed and dressed when first shown, once the form has given the size: a
    // dock whose windows are never opened keeps neither the style sheet nor
    // its pictures and fonts in memory.
    if (!dressed_) {
        dressed_ = true;
        setFixedSize(size());
        pw::theme::apply(this);
    }
    pw::centreOnScreen(*this);
    QDialog::showEvent(e);
}
