// What a click on a tile does: the entry's launch, through the desktop, on a
// thread of its own; Shift held launches nothing.
#include "support/DockFixture.h"

#include <QPropertyAnimation>

namespace
{

using Commands = DockFixture;

TEST_F(Commands, AClickJumpsAndLaunchesTheEntryByTheLaunchRule)
{
    writeFile("my app.sh", "x");
    writeFile("tool", "x");
    const QString app = path("my app.sh");
    const QString tool = path("tool");
    writeFile("PondwillowPath0.txt",
              (app + ",--name \"a b\" ; $(x),App\r\n" + tool + "\r\n").toUtf8());
    TForm1& f = create();
    ASSERT_EQ(f.LaunchBtn.size(), 2);

    f.BtnClickEvent(f.LaunchBtn[0]);
    auto* jump = qobject_cast<QPropertyAnimation*>(f.LaunchBtn[0]->child(2));
    ASSERT_TRUE(jump);
    EXPECT_EQ(jump->state(), QAbstractAnimation::Running);
    // A file alone on its line was stored as file,, when the group loaded.
    f.BtnClickEvent(f.LaunchBtn[1]);
    // Each launch runs on a thread of its own: they may arrive in any order.
    QStringList got = launchesAfter(2);
    got.sort();
    QStringList expected{app + "|--name \"a b\" ; $(x)|" + home.path(), tool + "||" + home.path()};
    expected.sort();
    EXPECT_EQ(got, expected);
}

TEST_F(Commands, AClickWithShiftHeldNeitherJumpsNorLaunches)
{
    writeFile("tool", "x");
    writeFile("PondwillowPath0.txt", (path("tool") + ",,t\r\n").toUtf8());
    TForm1& f = create();
    shiftDown = true;
    f.BtnClickEvent(f.LaunchBtn[0]);
    auto* jump = qobject_cast<QPropertyAnimation*>(f.LaunchBtn[0]->child(2));
    EXPECT_NE(jump->state(), QAbstractAnimation::Running);
    // Nothing may come within a second.
    EXPECT_TRUE(launchesAfter(1, 1000).isEmpty());
}

} // namespace
