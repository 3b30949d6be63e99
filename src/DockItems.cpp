#include "DockItems.h"

#include <QGraphicsDropShadowEffect>
#include <QGraphicsSceneDragDropEvent>
#include <QGraphicsSceneMouseEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <QtMath>

// ---- TRectangle ------------------------------------------------------------

TRectangle::TRectangle(QGraphicsItem* parent) : QGraphicsObject(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
}

void TRectangle::setSize(QSizeF size)
{
    if (size == size_)
        return;
    prepareGeometryChange();
    size_ = size;
    for (QGraphicsItem* child : childItems()) {
        if (auto* drop = dynamic_cast<TDropTarget*>(child))
            drop->panelResized();
    }
}

void TRectangle::setSolid(QColor c)
{
    fillKind_ = FillKind::Solid;
    color_ = c;
    update();
}

void TRectangle::setGradient(QColor c0, QColor c1)
{
    fillKind_ = FillKind::Gradient;
    gradient0_ = c0;
    gradient1_ = c1;
    update();
}

void TRectangle::setGradientPoints(QPointF start, QPointF stop)
{
    start_ = start;
    stop_ = stop;
    update();
}

void TRectangle::setBitmap(QImage image)
{
    fillKind_ = FillKind::Bitmap;
    bitmap_ = std::move(image);
    update();
}

void TRectangle::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const QRectF r = boundingRect();
    if (r.isEmpty())
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(r, radius(), radius());
    switch (fillKind_) {
    case FillKind::Solid:
        painter->fillPath(path, color_);
        break;
    case FillKind::Gradient: {
        QLinearGradient g(start_, stop_);
        g.setCoordinateMode(QGradient::ObjectMode);
        g.setColorAt(0, gradient0_);
        g.setColorAt(1, gradient1_);
        painter->fillPath(path, g);
        break;
    }
    case FillKind::Bitmap:
        painter->setClipPath(path);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(r, bitmap_);
        break;
    }
}

void TRectangle::mousePressEvent(QGraphicsSceneMouseEvent* e)
{
    e->accept();
    emit pressed(e->button());
}

void TRectangle::mouseMoveEvent(QGraphicsSceneMouseEvent*)
{
    emit moved();
}

void TRectangle::mouseReleaseEvent(QGraphicsSceneMouseEvent* e)
{
    emit released(e->button());
}

// ---- TDropTarget -------------------------------------------------------------

TDropTarget::TDropTarget(TRectangle* panel) : QGraphicsObject(panel)
{
    setAcceptDrops(true);
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
}

QRectF TDropTarget::boundingRect() const
{
    auto* panel = static_cast<TRectangle*>(parentItem());
    return panel ? panel->boundingRect() : QRectF();
}

void TDropTarget::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const QRectF r = boundingRect().adjusted(4, 4, -4, -4);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    QPen pen(dragOver_ ? QColor(30, 90, 200) : QColor(80, 80, 80), 2, Qt::DashLine);
    painter->setPen(pen);
    painter->setBrush(dragOver_ ? QColor(30, 90, 200, 60) : QColor(255, 255, 255, 90));
    painter->drawRoundedRect(r, 8, 8);
    QFont font = painter->font();
    font.setPixelSize(int(qBound<qreal>(10, r.height() / 4, 28)));
    painter->setFont(font);
    painter->setPen(QColor(40, 40, 40));
    painter->drawText(r, Qt::AlignCenter, text());
}

void TDropTarget::dragEnterEvent(QGraphicsSceneDragDropEvent* e)
{
    // Every drag is accepted as a copy; what it carries is looked at on drop.
    e->setDropAction(Qt::CopyAction);
    e->accept();
    dragOver_ = true;
    update();
}

void TDropTarget::dragMoveEvent(QGraphicsSceneDragDropEvent* e)
{
    e->setDropAction(Qt::CopyAction);
    e->accept();
}

void TDropTarget::dragLeaveEvent(QGraphicsSceneDragDropEvent*)
{
    dragOver_ = false;
    update();
}

void TDropTarget::dropEvent(QGraphicsSceneDragDropEvent* e)
{
    dragOver_ = false;
    update();
    QStringList paths;
    for (const QUrl& url : e->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    e->setDropAction(Qt::CopyAction);
    e->accept();
    emit filesDropped(paths);
}

void TDropTarget::mousePressEvent(QGraphicsSceneMouseEvent* e)
{
    // The drop zone covers the panel: a press here moves nothing, and the
    // right button opens the panel's menu.
    e->accept();
    if (e->button() == Qt::RightButton)
        emit contextMenuAt(e->screenPos());
}

// ---- TReflectionEffect ---------------------------------------------------------

void TReflectionEffect::setOpacity(qreal o)
{
    opacity_ = o;
    update();
}

void TReflectionEffect::setLength(qreal l)
{
    length_ = qBound<qreal>(0.1, l, 1.0);
    updateBoundingRect();
}

void TReflectionEffect::setOffset(int o)
{
    offset_ = o;
    updateBoundingRect();
}

QRectF TReflectionEffect::boundingRectFor(const QRectF& rect) const
{
    const qreal extra = offset_ + rect.height() * length_;
    return rect.adjusted(0, std::min<qreal>(0, offset_), 0, std::max<qreal>(0, extra));
}

void TReflectionEffect::draw(QPainter* painter)
{
    QPoint offset;
    const QPixmap source = sourcePixmap(Qt::LogicalCoordinates, &offset, NoPad);
    if (source.isNull())
        return;
    painter->drawPixmap(offset, source);

    // The mirror: the lower part of the picture flipped below the lower side,
    // fading from the effect's opacity to nothing over its length.
    const qreal dpr = source.devicePixelRatio();
    const int h = source.height();
    const int mirrorH = std::max(1, int(std::lround(h * length_)));
    QImage mirror(source.width(), mirrorH, QImage::Format_ARGB32_Premultiplied);
    mirror.setDevicePixelRatio(dpr);
    mirror.fill(Qt::transparent);
    {
        QPainter p(&mirror);
        p.setTransform(QTransform(1, 0, 0, -1, 0, h / dpr));
        p.drawPixmap(0, 0, source);
        p.setTransform(QTransform());
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        QLinearGradient fade(0, 0, 0, mirrorH / dpr);
        fade.setColorAt(0, QColor(0, 0, 0, 255));
        fade.setColorAt(1, QColor(0, 0, 0, 0));
        p.fillRect(QRectF(0, 0, mirror.width() / dpr, mirrorH / dpr), fade);
    }
    painter->save();
    painter->setOpacity(painter->opacity() * opacity_);
    painter->drawImage(QPointF(offset.x(), offset.y() + h / dpr + offset_), mirror);
    painter->restore();
}

QGraphicsDropShadowEffect* makeShadowEffect(QObject* parent)
{
    auto* shadow = new QGraphicsDropShadowEffect(parent);
    const qreal distance = 3;
    shadow->setOffset(distance * std::cos(qDegreesToRadians(45.0)),
                      distance * std::sin(qDegreesToRadians(45.0)));
    shadow->setBlurRadius(0.3 * 20); // softness 0.3 of a 20-pixel blur at full softness
    shadow->setColor(QColor(0, 0, 0, int(0.6 * 255)));
    return shadow;
}

// ---- TImage ------------------------------------------------------------------

TImage::TImage(qreal size, QGraphicsItem* parent) : QGraphicsObject(parent), size_(size)
{
    setAcceptHoverEvents(true);
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
    setTransformOriginPoint(size / 2, size / 2);
}

void TImage::setBitmap(QImage image)
{
    bitmap_ = std::move(image);
    update();
}

void TImage::setHint(const QString& hint)
{
    hint_ = hint;
    if (showHint_)
        setToolTip(hint_);
}

void TImage::setShowHint(bool on)
{
    showHint_ = on;
    setToolTip(on ? hint_ : QString());
}

QObject* TImage::child(int index) const
{
    const QObjectList& list = children();
    return index >= 0 && index < list.size() ? list.at(index) : nullptr;
}

void TImage::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (bitmap_.isNull())
        return;
    painter->setRenderHint(QPainter::SmoothPixmapTransform, !disableInterpolation_);
    painter->drawImage(boundingRect(), bitmap_);
}

void TImage::hoverEnterEvent(QGraphicsSceneHoverEvent*)
{
    emit mouseEntered(this);
}

void TImage::hoverLeaveEvent(QGraphicsSceneHoverEvent*)
{
    emit mouseLeft(this);
}

void TImage::mousePressEvent(QGraphicsSceneMouseEvent* e)
{
    e->accept();
    pressedLeft_ = e->button() == Qt::LeftButton;
    emit mouseDown(this, e->button(), e->pos());
}

void TImage::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* e)
{
    // The second press of a double click is a press, never half of a click.
    e->accept();
    pressedLeft_ = false;
    emit mouseDown(this, e->button(), e->pos());
}

void TImage::mouseReleaseEvent(QGraphicsSceneMouseEvent* e)
{
    const bool click = pressedLeft_ && e->button() == Qt::LeftButton && contains(e->pos());
    pressedLeft_ = false;
    if (click)
        emit clicked(this);
    emit mouseUp(this, e->button(), e->pos());
}
