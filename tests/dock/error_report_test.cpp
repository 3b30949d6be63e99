#include "app/Application.h"
#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QCloseEvent>
#include <QTimer>

namespace
{

using ErrorReport = DockFixture;

// An object whose event handler fails, as a command does when a save fails.
class Failing : public QObject
{
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw pw::Error(QStringLiteral("書けません"));
        return QObject::event(e);
    }
};

TEST_F(ErrorReport, AnErrorEscapingAHandlerIsShownAndTheLoopGoesOn)
{
    Failing failing;
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    bool ranAfter = false;
    QTimer::singleShot(0, [&] { ranAfter = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return ranAfter; }, 1000));
    EXPECT_EQ(errors, QStringList{QStringLiteral("書けません")});
}

TEST_F(ErrorReport, ACloseWhoseSaveFailsIsReportedAndRefused)
{
    ASSERT_TRUE(QDir(home.path()).mkdir("Pondwillow.ini"));
    TForm1& f = create();
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith("Pondwillow.ini に書き込めません: Is a directory"));

    // The save command, run as a menu click runs it, reports the same way and
    // changes nothing else.
    TApplication::guarded([&] { f.form().SaveCmd->trigger(); });
    EXPECT_EQ(errors.size(), 2);
    EXPECT_TRUE(f.isVisible());
}

} // namespace
