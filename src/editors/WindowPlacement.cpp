#include "editors/WindowPlacement.h"

#include "dock/Unit1.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace pw
{

namespace
{

void placeCentred(QWidget& window)
{
    // The dock's windows open on the monitor the dock is on.
    const QScreen* screen = Form1 ? Form1->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The native window knows the frame as soon as the window manager tells
    // it; the widget's own idea of its frame may lag behind. The client area
    // is placed, which keeps the widget's geometry and the native one in step.
    const QWindow* handle = window.windowHandle();
    const QMargins frame = handle ? handle->frameMargins() : QMargins();
    QRect r = window.geometry().marginsAdded(frame);
    r.moveCenter(screen->availableGeometry().center());
    window.setGeometry(r.marginsRemoved(frame));
}

// Places the window again once the window manager has told the size of its
// frame, which may come a little after the window is first exposed; gives up
// after a second (a window manager that draws no frame), then removes itself.
class CentreWhenFramed : public QObject
{
public:
    CentreWhenFramed(QWindow& handle, QWidget& window) : QObject(&handle), window_(&window)
    {
        handle.installEventFilter(this);
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this, &handle] { check(handle); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Expose && !timer_.isActive()) {
            watched->removeEventFilter(this);
            timer_.start();
            check(*static_cast<QWindow*>(watched));
        }
        return false;
    }

private:
    void check(QWindow& handle)
    {
        const bool framed = !handle.frameMargins().isNull();
        if (framed && window_ && window_->isVisible())
            placeCentred(*window_);
        if (framed || ++ticks_ >= 100 || !window_ || !window_->isVisible()) {
            timer_.stop();
            deleteLater();
        }
    }

    QPointer<QWidget> window_;
    QTimer timer_;
    int ticks_ = 0;
};

} // namespace

void centreOnScreen(QWidget& window)
{
    placeCentred(window);
    QWindow* handle = window.windowHandle();
    // Frame margins still unknown: the window has not been mapped yet.
    if (handle && handle->frameMargins().isNull() &&
        !handle->findChild<CentreWhenFramed*>(QString(), Qt::FindDirectChildrenOnly))
        new CentreWhenFramed(*handle, window);
}

} // namespace pw
