// Starts the dock as the program does and exits as soon as its first frame
// has been painted: timing this whole process measures start-up to the first
// frame. Prints the milliseconds from main() to that frame.
#include "app/Application.h"
#include "dock/Unit1.h"
#include "editors/EditorWindows.h"
#include "ui_Unit1.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGraphicsView>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace
{
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QElapsedTimer& t) : timer(t) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && !done) {
            done = true;
            // After the paint event has been handled, the frame is on its way.
            QTimer::singleShot(0, [this] {
                std::printf("first frame after %.1f ms\n", double(timer.nsecsElapsed()) / 1e6);
                QCoreApplication::quit();
            });
        }
        return false;
    }
    QElapsedTimer& timer;
    bool done = false;
};
} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer timer;
    timer.start();
    TApplication app(argc, argv);
    auto f1 = std::make_unique<TForm1>();
    Form1 = f1.get();
    pw::EditorWindows editors;
    f1->setEditorWindows(&editors);
    FirstPaint probe(timer);
    f1->form().view->viewport()->installEventFilter(&probe);
    f1->show();
    const int rc = TApplication::exec();
    // Quitting closes no window, so no settings file is written.
    f1.reset();
    return rc;
}
