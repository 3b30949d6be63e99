// The part of the icon provider that is the same on every system.
#include "icons/IconProvider.h"

#include "icons/IconFileParser.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace pw::platform
{

QImage genericDocumentIcon(int size)
{
    if (size < 1 || size > iconfile::kMaxRequestedSize)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    const qreal s = size;
    const qreal pen = std::max<qreal>(1.0, s / 48.0);
    // Keep the outline inside the picture at every size.
    const qreal left = std::max(s * 0.19, pen);
    const qreal right = std::min(s * 0.81, s - pen);
    const qreal top = std::max(s * 0.08, pen);
    const qreal bottom = std::min(s * 0.92, s - pen);
    const qreal fold = (right - left) * 0.36;
    const qreal radius = s * 0.05;

    QPainterPath sheet;
    sheet.moveTo(left + radius, top);
    sheet.lineTo(right - fold, top);
    sheet.lineTo(right, top + fold);
    sheet.lineTo(right, bottom - radius);
    sheet.quadTo(right, bottom, right - radius, bottom);
    sheet.lineTo(left + radius, bottom);
    sheet.quadTo(left, bottom, left, bottom - radius);
    sheet.lineTo(left, top + radius);
    sheet.quadTo(left, top, left + radius, top);
    sheet.closeSubpath();

    QPainterPath flap;
    flap.moveTo(right - fold, top);
    flap.lineTo(right - fold, top + fold - radius);
    flap.quadTo(right - fold, top + fold, right - fold + radius, top + fold);
    flap.lineTo(right, top + fold);
    flap.closeSubpath();

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor outline(0x80, 0x84, 0x8a);

    QLinearGradient paper(0, top, 0, bottom);
    paper.setColorAt(0, QColor(0xfc, 0xfc, 0xfc));
    paper.setColorAt(1, QColor(0xe6, 0xe8, 0xeb));
    painter.setPen(QPen(outline, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(paper);
    painter.drawPath(sheet);

    painter.setBrush(QColor(0xd2, 0xd5, 0xda));
    painter.drawPath(flap);

    // Lines of text, when there is room for them.
    if (size >= 20) {
        painter.setPen(QPen(QColor(0xa8, 0xac, 0xb2), pen, Qt::SolidLine, Qt::RoundCap));
        const qreal textLeft = left + (right - left) * 0.18;
        const qreal textRight = right - (right - left) * 0.18;
        const qreal step = (bottom - top) * 0.12;
        for (int i = 0; i < 5; ++i) {
            const qreal y = top + fold + step * (i + 1);
            if (y > bottom - step * 0.8)
                break;
            const qreal end = i == 4 ? textLeft + (textRight - textLeft) * 0.6 : textRight;
            painter.drawLine(QPointF(textLeft, y), QPointF(end, y));
        }
    }
    painter.end();
    return image;
}

} // namespace pw::platform
