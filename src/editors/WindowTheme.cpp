#include "editors/WindowTheme.h"

#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

namespace pw::theme
{

namespace
{

// Below this a Japanese caption is no longer legible.
constexpr int smallestCaption = 9;

// A caption wider than its label, as a Japanese one can be in a label sized
// for another font, is set smaller until it fits, down to a legible size.
void fitCaptions(QWidget* window)
{
    for (QLabel* label : window->findChildren<QLabel*>()) {
        QFont font = label->font();
        const int room = label->contentsRect().width();
        int pixels = QFontInfo(font).pixelSize();
        while (pixels > smallestCaption &&
               QFontMetrics(font).horizontalAdvance(label->text()) > room)
            font.setPixelSize(--pixels);
        if (font != label->font())
            label->setFont(font);
    }
}

} // namespace

QString styleSheet()
{
    QFile file(QStringLiteral("%1/theme.qss").arg(QLatin1String(folder)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void apply(QWidget* window)
{
    // Read as an image: QPixmap::load would keep the picture in the global
    // pixmap cache, whose upkeep timer then wakes the idle program.
    const QImage background(QStringLiteral("%1/window.png").arg(QLatin1String(folder)));
    QPalette palette = window->palette();
    palette.setBrush(QPalette::Window,
                     QBrush(QPixmap::fromImage(background.scaled(
                         window->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation))));
    window->setPalette(palette);

    const QString sheet = styleSheet();
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            child->setStyleSheet(sheet);
    }
    fitCaptions(window);
}

} // namespace pw::theme
