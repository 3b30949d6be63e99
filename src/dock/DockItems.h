#pragma once

#include "core/Layout.h"

#include <QGraphicsEffect>
#include <QGraphicsObject>
#include <QImage>
#include <QLinearGradient>
#include <QPropertyAnimation>

#include <functional>
#include <optional>

class QGraphicsDropShadowEffect;
class TImage;

// The dock's scene items: the background panel, the drop zone that lies over
// it in add mode, and the icon tiles with their reflection effect.

// The background panel: a rounded rectangle without outline, painted with a
// solid colour, a linear gradient or a stretched picture.
class TRectangle : public QGraphicsObject
{
    Q_OBJECT
public:
    enum class FillKind { Solid, Gradient, Bitmap };

    explicit TRectangle(QGraphicsItem* parent = nullptr);

    QRectF boundingRect() const override { return QRectF(QPointF(0, 0), size_); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

    QSizeF size() const { return size_; }
    void setSize(QSizeF size);
    qreal Width() const { return size_.width(); }
    qreal Height() const { return size_.height(); }

    pw::layout::Align align() const { return align_; }
    void setAlign(pw::layout::Align a) { align_ = a; }

    // Fill. Gradient points are relative to the panel (0 to 1 on each axis).
    FillKind fillKind() const { return fillKind_; }
    QColor fillColor() const { return color_; }
    QColor gradientColor(int i) const { return i == 0 ? gradient0_ : gradient1_; }
    QPointF gradientStart() const { return start_; }
    QPointF gradientStop() const { return stop_; }
    const QImage& fillBitmap() const { return bitmap_; }
    void setSolid(QColor c);
    void setGradient(QColor c0, QColor c1);
    void setGradientPoints(QPointF start, QPointF stop);
    void setBitmap(QImage image);

    qreal radius() const { return 10; }

    // The bands of whole pixel rows, top to bottom, that paint() fills the
    // exposed part of a panel with the given corner radius in: each small
    // enough for the raster engine to fill it on the calling thread.
    static QList<QRect> paintBands(const QRectF& panel, const QRectF& exposed, qreal radius);
    // The device pixels that cover the exposed part of a panel, when every
    // one of them lies wholly inside the panel and clear of its rounded
    // corners; empty otherwise. `toDevice` maps the panel to device pixels.
    static QRect solidPixels(const QRectF& panel, qreal radius, const QTransform& toDevice,
                             const QRectF& exposed);

signals:
    void pressed(Qt::MouseButton button);
    void moved();
    void released(Qt::MouseButton button);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* e) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* e) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* e) override;

private:
    QSizeF size_{337, 81};
    pw::layout::Align align_ = pw::layout::Align::Bottom;
    FillKind fillKind_ = FillKind::Solid;
    QColor color_{224, 224, 224};
    QColor gradient0_{224, 224, 224};
    QColor gradient1_{224, 224, 224};
    QPointF start_{0, 0};
    QPointF stop_{0, 1};
    QImage bitmap_;
};

// The drop zone: fills the panel, shows "Drop" and takes dropped files.
class TDropTarget : public QGraphicsObject
{
    Q_OBJECT
public:
    explicit TDropTarget(TRectangle* panel);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;
    QString text() const { return tr("Drop"); }
    // The drop zone fills the panel; the panel calls this when it resizes.
    void panelResized() { prepareGeometryChange(); }

signals:
    void filesDropped(const QStringList& paths);
    void contextMenuAt(QPoint screenPos);

protected:
    void dragEnterEvent(QGraphicsSceneDragDropEvent* e) override;
    void dragMoveEvent(QGraphicsSceneDragDropEvent* e) override;
    void dragLeaveEvent(QGraphicsSceneDragDropEvent* e) override;
    void dropEvent(QGraphicsSceneDragDropEvent* e) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* e) override;

private:
    bool dragOver_ = false;
};

// The mirror image of a tile beyond its own lower side, fading out. Drawn in
// the tile's coordinates, so it turns with the tile and faces the dock's edge.
class TReflectionEffect : public QGraphicsEffect
{
    Q_OBJECT
public:
    explicit TReflectionEffect(QObject* parent = nullptr) : QGraphicsEffect(parent) {}

    qreal Opacity() const { return opacity_; }
    void setOpacity(qreal o);
    qreal Length() const { return length_; }
    void setLength(qreal l); // kept within 0.1 to 1
    int Offset() const { return offset_; }
    void setOffset(int o);

    QRectF boundingRectFor(const QRectF& rect) const override;

protected:
    void draw(QPainter* painter) override;

private:
    // The tile's mirror, made again only when its picture, size, the screen's
    // pixel ratio or the mirror's length change.
    struct MirrorKey {
        qint64 picture = 0;
        qreal size = 0;
        qreal dpr = 0;
        qreal length = 0;
        bool disableInterpolation = false;
        bool operator==(const MirrorKey&) const = default;
    };
    const QImage& mirrorOf(const TImage& tile, qreal dpr);

    qreal opacity_ = 0.5;
    qreal length_ = 0.5;
    int offset_ = 0;
    MirrorKey mirrorKey_;
    QImage mirror_;
};

// A drop shadow with the framework's defaults: black, direction 45 degrees,
// distance 3, softness 0.3, opacity 0.6.
QGraphicsDropShadowEffect* makeShadowEffect(QObject* parent);

// What the tiles of a dock report to the window that shows them. One set of
// handlers serves every tile: a set of signal connections per tile would
// cost more memory than the rest of the tile.
struct TileHandlers {
    std::function<void(TImage*)> entered;
    std::function<void(TImage*)> left;
    std::function<void(TImage*, Qt::MouseButton, QPointF)> pressed;
    std::function<void(TImage*, Qt::MouseButton, QPointF)> released;
    std::function<void(TImage*)> clicked;
    std::function<void(TImage*)> jumpFinished;
    std::function<void(TImage*)> swingFinished;
};

// An icon tile: a bw x bw picture that turns about its centre. Once shown,
// its QObject children are, in this order: the effect, the swing animation,
// the jump animation; code finds them by index.
//
// A dock can hold a great many tiles, few of them on the screen at a time, so
// what a tile needs only once it can be seen is made when it is first shown:
// the dock makes its effect, its animations and its picture (from the icon
// source and the jump kept here), and realize() shows the tile, installs the
// effect and makes the hint its tooltip. Until then the tile is hidden and
// has no children and no picture.
class TImage : public QGraphicsObject
{
    Q_OBJECT
public:
    explicit TImage(qreal size, QGraphicsItem* parent = nullptr);

    QRectF boundingRect() const override { return QRectF(0, 0, size_, size_); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

    qreal Width() const { return size_; }
    const QImage& Bitmap() const { return bitmap_; }
    void setBitmap(QImage image);
    bool DisableInterpolation() const { return disableInterpolation_; }
    void setDisableInterpolation(bool on) { disableInterpolation_ = on; }
    QString Hint() const { return hint_; }
    void setHint(const QString& hint);
    bool ShowHint() const { return showHint_; }
    void setShowHint(bool on);

    QObject* child(int index) const;

    // The handlers every event of the tile goes to; shared by the tiles of a
    // dock and kept alive by it.
    void setHandlers(const TileHandlers* handlers) { handlers_ = handlers; }
    const TileHandlers* handlers() const { return handlers_; }
    // The animation started each time the pointer enters the tile.
    void setHoverAnimation(QAbstractAnimation* animation) { hoverAnimation_ = animation; }

    // The file the tile's picture is made from.
    const QString& iconSource() const { return iconSource_; }
    void setIconSource(const QString& file) { iconSource_ = file; }
    // Where the tile's jump starts and stops.
    std::optional<pw::layout::Jump> jump() const { return jump_; }
    void setJump(std::optional<pw::layout::Jump> jump) { jump_ = jump; }

    bool isRealized() const { return realized_; }
    void realize();

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void hoverEnterEvent(QGraphicsSceneHoverEvent* e) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* e) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* e) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* e) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* e) override;

private:
    qreal size_;
    QImage bitmap_;
    QString hint_;
    QString iconSource_;
    std::optional<pw::layout::Jump> jump_;
    const TileHandlers* handlers_ = nullptr;
    QAbstractAnimation* hoverAnimation_ = nullptr;
    bool disableInterpolation_ = false;
    bool showHint_ = false;
    bool pressedLeft_ = false;
    bool realized_ = false;
};

// An animation of one property of the tile that owns it (its rotation, or
// its position across the dock). It writes the tile directly and holds no
// watched target object: a target costs every animation a connection to the
// tile's destroyed signal, and the tile, as the animation's parent, outlives
// it anyway. So targetObject() is null; propertyName() names the property.
// A jump reports its end to the tile's handlers (jumpFinished), a swing its
// end or stop (swingFinished).
class TileAnimation : public QPropertyAnimation
{
    Q_OBJECT
public:
    enum class Property { None, Rotation, X, Y };

    TileAnimation(TImage* tile, Property property, bool isJump = false);
    ~TileAnimation() override;

    Property property() const { return property_; }

protected:
    void updateCurrentValue(const QVariant& value) override;
    void updateState(State newState, State oldState) override;

private:
    Property property_;
    bool isJump_;
    bool reporting_ = true;
};
