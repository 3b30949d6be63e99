// Repaints of the dock come at most once a frame: the changes asked for
// within a frame of the last repaint are drawn together at the frame's end,
// and a dock at rest is not drawn at all.
#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QGraphicsView>

namespace
{

class Repaint : public DockFixture
{
protected:
    // Counts the paints of the dock's drawing area.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    };
};

TEST_F(Repaint, ChangesWithinAFrameAreDrawnOnceAtItsEnd)
{
    writeFile("f.txt", "x");
    writeFile("PondwillowPath0.txt", (path("f.txt") + ",,one\r\n").toUtf8());
    TForm1& f = create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QWidget* area = f.form().view->viewport();
    PaintCounter counter;
    area->installEventFilter(&counter);
    QTest::qWait(50);
    counter.paints = 0;

    // A change long after the last repaint is drawn at once...
    area->update();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(counter.paints, 1);
    // ...and the changes that follow it within the frame wait for its end,
    // however many there are, and are drawn together.
    for (int i = 0; i < 5; ++i) {
        f.LaunchBtn[0]->setRotation(i * 10.0);
        area->update(QRect(0, 0, 10 + i, 10));
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
    }
    EXPECT_EQ(counter.paints, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints == 2; }, 1000));
    // At rest, nothing more is drawn.
    QTest::qWait(100);
    EXPECT_EQ(counter.paints, 2);
}

} // namespace
