#pragma once

#include "core/Layout.h"

#include <QGraphicsEffect>
#include <QGraphicsObject>
#include <QImage>
#include <QLinearGradient>

class QGraphicsDropShadowEffect;

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
    QString text() const { return QStringLiteral("Drop"); }
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
    qreal opacity_ = 0.5;
    qreal length_ = 0.5;
    int offset_ = 0;
};

// A drop shadow with the framework's defaults: black, direction 45 degrees,
// distance 3, softness 0.3, opacity 0.6.
QGraphicsDropShadowEffect* makeShadowEffect(QObject* parent);

// An icon tile: a bw x bw picture that turns about its centre. Its QObject
// children are, in this order: the effect, the swing animation, the jump
// animation; code finds them by index.
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

signals:
    void mouseEntered(TImage* tile);
    void mouseLeft(TImage* tile);
    void mouseDown(TImage* tile, Qt::MouseButton button, QPointF local);
    void mouseUp(TImage* tile, Qt::MouseButton button, QPointF local);
    void clicked(TImage* tile);

protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent* e) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* e) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* e) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* e) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* e) override;

private:
    qreal size_;
    QImage bitmap_;
    bool disableInterpolation_ = false;
    QString hint_;
    bool showHint_ = false;
    bool pressedLeft_ = false;
};
