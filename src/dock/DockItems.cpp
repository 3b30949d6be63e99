#include "dock/DockItems.h"

#include <QGraphicsDropShadowEffect>
#include <QGraphicsSceneDragDropEvent>
#include <QGraphicsSceneMouseEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleOptionGraphicsItem>
#include <QUrl>
#include <QtMath>

// ---- TRectangle ------------------------------------------------------------

TRectangle::TRectangle(QGraphicsItem* parent) : QGraphicsObject(parent)
{
    // paint() is told which part of the panel is to be drawn.
    setFlag(ItemUsesExtendedStyleOption);
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

namespace
{
// Qt's raster engine hands a fill of 96 spans or more (a span is a run of
// pixels on one row) to its thread pool and waits until the pool's threads
// are done. For a panel a few hundred pixels wide that hand-off costs more
// than the fill itself, and a pointer sweep repaints part of the panel on
// every frame of every swing. The panel is therefore drawn in bands that each
// stay below that count: thin bands across the rounded corners, whose
// antialiased rows hold a dozen spans each, and thicker ones between them,
// whose rows hold one.
constexpr int kPoolSpans = 96;
constexpr int kCornerBandRows = 6;
constexpr int kBodyBandRows = 64;
} // namespace

QList<QRect> TRectangle::paintBands(const QRectF& panel, const QRectF& exposed, qreal radius)
{
    QList<QRect> bands;
    // Whole pixel rows, so that neighbouring bands neither overlap nor leave
    // a seam between them.
    const QRect shown = (exposed & panel).toAlignedRect() & panel.toAlignedRect();
    if (shown.isEmpty())
        return bands;
    const int cornersEnd = int(std::ceil(panel.top() + radius));
    const int cornersStart = int(std::floor(panel.bottom() - radius));
    for (int y = shown.top(); y <= shown.bottom();) {
        int next = y + kCornerBandRows;
        if (y < cornersEnd)
            next = std::min(next, cornersEnd);
        else if (y < cornersStart)
            next = std::min(y + kBodyBandRows, cornersStart);
        next = std::min(next, shown.bottom() + 1);
        bands << QRect(shown.left(), y, shown.width(), next - y);
        y = next;
    }
    return bands;
}

QRect TRectangle::solidPixels(const QRectF& panel, qreal radius, const QTransform& toDevice,
                              const QRectF& exposed)
{
    if (!toDevice.isAffine() || toDevice.isRotating() || panel.isEmpty())
        return {};
    // The two bands of the rounded rectangle that its corners do not cut:
    // the full height between the corners, the full width between them.
    // Pixels wholly inside one are wholly covered by the panel.
    const auto inner = [&toDevice](const QRectF& band) {
        const QRectF d = toDevice.mapRect(band);
        const int left = int(std::ceil(d.left() - 1e-9));
        const int top = int(std::ceil(d.top() - 1e-9));
        const int right = int(std::floor(d.right() + 1e-9));
        const int bottom = int(std::floor(d.bottom() + 1e-9));
        return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    };
    const QRect wanted = toDevice.mapRect(exposed & panel).toAlignedRect();
    if (wanted.isEmpty())
        return {};
    for (const QRectF& band :
         {panel.adjusted(radius, 0, -radius, 0), panel.adjusted(0, radius, 0, -radius)}) {
        if (!band.isEmpty() && inner(band).contains(wanted))
            return wanted;
    }
    return {};
}

void TRectangle::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*)
{
    const QRectF r = boundingRect();
    if (r.isEmpty())
        return;
    const QRectF exposedPart = option && !option->exposedRect.isEmpty() ? option->exposedRect : r;
    // A repaint of the panel's plain middle (behind a swinging tile, say) is a
    // fill of whole pixels with the colour: the same pixels the rounded
    // rectangle gives them, at a fraction of the cost of filling its outline.
    if (fillKind_ == FillKind::Solid) {
        const QTransform toDevice = painter->deviceTransform();
        if (const QRect pixels = solidPixels(r, radius(), toDevice, exposedPart);
            !pixels.isEmpty()) {
            painter->save();
            painter->resetTransform();
            const qreal dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
            painter->scale(1 / dpr, 1 / dpr);
            painter->fillRect(pixels, color_);
            painter->restore();
            return;
        }
    }
    painter->setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(r, radius(), radius());
    QBrush brush;
    switch (fillKind_) {
    case FillKind::Solid:
        brush = color_;
        break;
    case FillKind::Gradient: {
        QLinearGradient g(start_, stop_);
        g.setCoordinateMode(QGradient::ObjectMode);
        g.setColorAt(0, gradient0_);
        g.setColorAt(1, gradient1_);
        brush = g;
        break;
    }
    case FillKind::Bitmap:
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        break;
    }
    for (const QRect& band : paintBands(r, exposedPart, radius())) {
        painter->save();
        painter->setClipRect(band, Qt::IntersectClip);
        if (fillKind_ == FillKind::Bitmap) {
            painter->setClipPath(path, Qt::IntersectClip);
            painter->drawImage(r, bitmap_);
        } else {
            painter->fillPath(path, brush);
        }
        painter->restore();
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

const QImage& TReflectionEffect::mirrorOf(const TImage& tile, qreal dpr)
{
    const MirrorKey key{tile.Bitmap().cacheKey(), tile.Width(), dpr, length_,
                        tile.DisableInterpolation()};
    if (!mirror_.isNull() && key == mirrorKey_)
        return mirror_;
    mirrorKey_ = key;
    // The tile as it is drawn, in its own coordinates at the screen's pixel
    // ratio; then its lower part flipped, fading from full strength to
    // nothing over the mirror's length.
    const QSize pixels(std::max(1, int(std::ceil(tile.Width() * dpr))),
                       std::max(1, int(std::ceil(tile.Width() * dpr))));
    const int h = pixels.height();
    const int mirrorH = std::max(1, int(std::lround(h * length_)));
    QImage drawn(pixels, QImage::Format_ARGB32_Premultiplied);
    drawn.setDevicePixelRatio(dpr);
    drawn.fill(Qt::transparent);
    {
        QPainter p(&drawn);
        const_cast<TImage&>(tile).paint(&p, nullptr, nullptr);
    }
    mirror_ = QImage(pixels.width(), mirrorH, QImage::Format_ARGB32_Premultiplied);
    mirror_.setDevicePixelRatio(dpr);
    mirror_.fill(Qt::transparent);
    {
        QPainter p(&mirror_);
        p.setTransform(QTransform(1, 0, 0, -1, 0, h / dpr));
        p.drawImage(0, 0, drawn);
        p.setTransform(QTransform());
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        QLinearGradient fade(0, 0, 0, mirrorH / dpr);
        fade.setColorAt(0, QColor(0, 0, 0, 255));
        fade.setColorAt(1, QColor(0, 0, 0, 0));
        p.fillRect(QRectF(0, 0, mirror_.width() / dpr, mirrorH / dpr), fade);
    }
    return mirror_;
}

void TReflectionEffect::draw(QPainter* painter)
{
    const auto* tile = qobject_cast<const TImage*>(parent());
    if (!tile) {
        drawSource(painter);
        return;
    }
    // A turning tile is drawn without antialiased edges (an icon's edges are
    // mostly its transparent margin, and a swing lasts a tenth of a second):
    // antialiasing cuts each turned picture into hundreds of spans, which Qt
    // then shares out to its thread pool, waking two threads for each.
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    // The tile is drawn as it is, straight onto the window; its mirror is made
    // once for each picture and drawn below its lower side, so a swing or a
    // repaint of the row redraws pictures and renders nothing off screen.
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    const QImage& mirror = mirrorOf(*tile, dpr);
    const QPointF mirrorAt(0, tile->Width() + offset_);
    const qreal mirrorOpacity = painter->opacity() * opacity_;
    // A large tile, turned, or its mirror may cover as many rows of the
    // window as a fill may have before Qt hands it to its thread pool; then
    // both are drawn in bands of window rows, as the panel is.
    const QTransform toWindow = painter->worldTransform();
    const qreal tallest =
        std::max(toWindow.mapRect(tile->boundingRect()).height(),
                 toWindow.mapRect(QRectF(mirrorAt, QSizeF(mirror.size()) / dpr)).height());
    const bool banded = tallest * dpr >= kPoolSpans;
    const QRect rows = toWindow.mapRect(boundingRectFor(tile->boundingRect())).toAlignedRect();
    const int bandRows = banded ? std::max(1, int(kBodyBandRows / dpr)) : rows.height();
    for (int y = rows.top(); y <= rows.bottom(); y += bandRows) {
        painter->save();
        if (banded) {
            // The band is given in window rows, not turned with the tile.
            painter->setWorldTransform(QTransform());
            painter->setClipRect(QRect(rows.left(), y, rows.width(), bandRows), Qt::IntersectClip);
            painter->setWorldTransform(toWindow);
        }
        drawSource(painter);
        painter->setOpacity(mirrorOpacity);
        painter->drawImage(mirrorAt, mirror);
        painter->restore();
    }
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
    // The tile turns about its centre. The turning point is set when the tile
    // first turns (itemChange), so a tile that never turns keeps no transform.
    setFlag(ItemSendsGeometryChanges);
    // Shown by realize(): the scene keeps per-view state for every visible
    // item it draws, whether it lies in the window or not.
    setVisible(false);
}

QVariant TImage::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == ItemRotationChange) {
        const QPointF centre(size_ / 2, size_ / 2);
        if (transformOriginPoint() != centre)
            setTransformOriginPoint(centre);
    }
    return QGraphicsObject::itemChange(change, value);
}

void TImage::setBitmap(QImage image)
{
    bitmap_ = std::move(image);
    update();
}

void TImage::setHint(const QString& hint)
{
    hint_ = hint;
    if (showHint_ && realized_)
        setToolTip(hint_);
}

void TImage::setShowHint(bool on)
{
    showHint_ = on;
    if (realized_)
        setToolTip(on ? hint_ : QString());
}

void TImage::realize()
{
    if (realized_)
        return;
    realized_ = true;
    setVisible(true);
    if (auto* effect = qobject_cast<QGraphicsEffect*>(child(0)))
        setGraphicsEffect(effect);
    if (showHint_)
        setToolTip(hint_);
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
    if (handlers_ && handlers_->entered)
        handlers_->entered(this);
    if (hoverAnimation_)
        hoverAnimation_->start();
}

void TImage::hoverLeaveEvent(QGraphicsSceneHoverEvent*)
{
    if (handlers_ && handlers_->left)
        handlers_->left(this);
}

void TImage::mousePressEvent(QGraphicsSceneMouseEvent* e)
{
    e->accept();
    pressedLeft_ = e->button() == Qt::LeftButton;
    if (handlers_ && handlers_->pressed)
        handlers_->pressed(this, e->button(), e->pos());
}

void TImage::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* e)
{
    // The second press of a double click is a press, never half of a click.
    e->accept();
    pressedLeft_ = false;
    if (handlers_ && handlers_->pressed)
        handlers_->pressed(this, e->button(), e->pos());
}

void TImage::mouseReleaseEvent(QGraphicsSceneMouseEvent* e)
{
    const bool click = pressedLeft_ && e->button() == Qt::LeftButton && contains(e->pos());
    pressedLeft_ = false;
    // The handlers may take the tile off the window: keep it until the end.
    QPointer<TImage> self(this);
    if (click && handlers_ && handlers_->clicked)
        handlers_->clicked(this);
    if (self && handlers_ && handlers_->released)
        handlers_->released(this, e->button(), e->pos());
}

// ---- TileAnimation -------------------------------------------------------------

namespace
{
QByteArray propertyNameOf(TileAnimation::Property property)
{
    switch (property) {
    case TileAnimation::Property::Rotation:
        return QByteArrayLiteral("rotation");
    case TileAnimation::Property::X:
        return QByteArrayLiteral("x");
    case TileAnimation::Property::Y:
        return QByteArrayLiteral("y");
    case TileAnimation::Property::None:
        break;
    }
    return {};
}
} // namespace

TileAnimation::TileAnimation(TImage* tile, Property property, bool isJump)
    : QPropertyAnimation(tile), property_(property), isJump_(isJump)
{
    setPropertyName(propertyNameOf(property));
}

TileAnimation::~TileAnimation()
{
    // Stopped here, while this class still handles the state change. The
    // tile is being destroyed (it deletes its children last): nothing is
    // reported to it.
    reporting_ = false;
    stop();
}

void TileAnimation::updateCurrentValue(const QVariant& value)
{
    // A stopped animation moves nothing, also when its values are set.
    if (state() == Stopped)
        return;
    auto* tile = static_cast<TImage*>(parent());
    const qreal v = value.toReal();
    switch (property_) {
    case Property::Rotation:
        tile->setRotation(v);
        break;
    case Property::X:
        tile->setX(v);
        break;
    case Property::Y:
        tile->setY(v);
        break;
    case Property::None:
        break;
    }
}

void TileAnimation::updateState(State newState, State oldState)
{
    // QPropertyAnimation's own handling needs a target object; this one has
    // none, so the variant animation's handling applies.
    QVariantAnimation::updateState(newState, oldState);
    if (!reporting_)
        return;
    // The end of a run, as the finished signal reports it: stopped at the
    // end of a forward run (not by stop() on the way).
    if (isJump_ && newState == Stopped && oldState != Stopped && direction() == Forward &&
        currentTime() == duration()) {
        auto* tile = static_cast<TImage*>(parent());
        if (const TileHandlers* h = tile->handlers(); h && h->jumpFinished)
            h->jumpFinished(tile);
    }
    if (property_ == Property::Rotation && newState == Stopped && oldState == Running) {
        auto* tile = static_cast<TImage*>(parent());
        if (const TileHandlers* h = tile->handlers(); h && h->swingFinished)
            h->swingFinished(tile);
    }
}
