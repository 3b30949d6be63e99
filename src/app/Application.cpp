#include "app/Application.h"

#include "app/Prompter.h"
#include "core/Errors.h"

#include <QPixmapCache>
#include <QThreadPool>

#include <exception>

namespace
{

void report(const QString& message)
{
    pw::prompt::showError(QApplication::activeWindow(), message);
}

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Qt's pixmap cache keeps a timer running while it holds anything, which
    // wakes the idle program every 10 to 30 seconds and may hold 10 MiB. The
    // dock keeps its own pictures: the cache would only save redrawing a
    // tile under its effect, which costs less than the cache's upkeep.
    QPixmapCache::setCacheLimit(0);
    // Qt paints large areas and scales large images on threads of the global
    // pool. Idle threads end after a second instead of 30, so that none is
    // left to wake up once the dock has settled.
    QThreadPool::globalInstance()->setExpiryTimeout(1000);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const pw::Error& e) {
        report(e.message());
    } catch (const std::exception& e) {
        report(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void TApplication::guarded(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const pw::Error& e) {
        report(e.message());
    } catch (const std::exception& e) {
        report(QString::fromLocal8Bit(e.what()));
    }
}
