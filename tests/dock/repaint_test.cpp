// Repaints of the dock come at most once a frame: the changes asked for
// within a frame of the last repaint are drawn together at the frame's end,
// and a dock at rest is not drawn at all.
#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QGraphicsEffect>
#include <QGraphicsView>
#include <QPaintEvent>
#include <QVariantAnimation>

namespace
{

class Repaint : public DockFixture
{
protected:
    // Counts the paints of the dock's drawing area.
    struct PaintCounter : QObject {
        int paints = 0;
        QRegion painted;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint) {
                ++paints;
                painted += static_cast<QPaintEvent*>(e)->region();
            }
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

// Once a swing is over, all the tile and its mirror swept is drawn afresh,
// so that nothing of a turned picture is left where the tile no longer is.
TEST_F(Repaint, WhatASwingSweptIsDrawnAgainAtItsEnd)
{
    writeFile("f.txt", "x");
    writeFile("PondwillowPath0.txt",
              (path("f.txt") + ",,one\r\n" + path("f.txt") + ",,two\r\n").toUtf8());
    for (const char* edge : {"mbottom", "mleft"}) {
        SCOPED_TRACE(edge);
        writeIni(QStringLiteral("[Refrect]\nMode=%1\n[Form]\nMode=%2\n")
                     .arg(QLatin1String(edge))
                     .arg(edge == QLatin1String("mleft") ? 1 : 0));
        TForm1& f = create();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        auto* view = f.form().view;
        TImage* tile = f.LaunchBtn[1];
        auto* swing = qobject_cast<QVariantAnimation*>(tile->child(1));
        ASSERT_TRUE(swing);
        // Where the tile and its mirror stand at the swing's first frame.
        const qreal rest = tile->rotation();
        tile->setRotation(swing->keyValueAt(0).toReal());
        const QRectF first =
            tile->mapRectToScene(tile->graphicsEffect()->boundingRectFor(tile->boundingRect()));
        tile->setRotation(rest);
        ASSERT_NE(swing->keyValueAt(0).toReal(), rest);

        PaintCounter counter;
        view->viewport()->installEventFilter(&counter);
        swing->start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return swing->state() == QAbstractAnimation::Stopped; }));
        counter.painted = QRegion();
        QTest::qWait(60);
        const QRect swept = view->mapFromScene(first).boundingRect() & view->viewport()->rect();
        EXPECT_TRUE((QRegion(swept) - counter.painted).isEmpty())
            << "drawn after the swing: " << counter.painted.boundingRect().x() << ","
            << counter.painted.boundingRect().y() << " " << counter.painted.boundingRect().width()
            << "x" << counter.painted.boundingRect().height();
        view->viewport()->removeEventFilter(&counter);
        dock.reset();
    }
}

} // namespace
