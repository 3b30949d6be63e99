// The parameter window: a change is written and rebuilds the dock when the
// window closes; a discard writes nothing; the change mark outlives a showing.
#include "core/Errors.h"
#include "editors/EditorWindows.h"
#include "editors/Unit3.h"
#include "support/DockFixture.h"
#include "ui_Unit1.h"
#include "ui_Unit3.h"

#include <QScreen>
#include <QTimer>

#include <functional>

namespace
{

class ParameterWindow : public DockFixture
{
protected:
    void SetUp() override
    {
        DockFixture::SetUp();
        writeFile("a.txt", "x");
        writeFile("b c.txt", "x");
        writeFile("PondwillowPath0.txt",
                  (path("a.txt") + ",-x,A\r\n" + path("b c.txt") + ",,B\r\n").toUtf8());
        Form1 = &create();
        window = std::make_unique<TForm3>();
        Form3 = window.get();
        dock->setEditorWindows(&editors);
    }

    void TearDown() override
    {
        Form3 = nullptr;
        window.reset();
        Form1 = nullptr;
        DockFixture::TearDown();
    }

    // Opens the window on tile `tile` from the tile menu and runs `whileOpen`
    // once it shows. Returns whether it showed.
    bool edit(int tile, const std::function<void(Ui::TForm3&)>& whileOpen)
    {
        bool shown = false;
        QTimer::singleShot(0, window.get(), [&] {
            shown = window->isVisible();
            whileOpen(window->form());
            // Whatever the step did, the window does not stay open.
            if (window->isVisible())
                window->reject();
        });
        dock->mouseobj = tile >= 0 ? dock->LaunchBtn[tile] : nullptr;
        dock->EditCmdClick();
        return shown;
    }

    QStringList lines() const { return *dock->LaunchPath[0]; }

    std::unique_ptr<TForm3> window;
    // Opens the window above, which the fixture has put into Form3.
    pw::EditorWindows editors;
};

TEST_F(ParameterWindow, AChangeIsWrittenAndTheCloseRebuildsTheDock)
{
    TForm1& f = *dock;
    f.AddMenuClick(); // add mode on: the change leaves it
    const TImage* before = f.LaunchBtn[1];
    const bool shown = edit(1, [&](Ui::TForm3& ui) {
        EXPECT_EQ(ui.FileName->text(), path("b c.txt"));
        EXPECT_EQ(ui.ParamEdit->text(), "");
        EXPECT_EQ(ui.HintEdit->text(), "B");
        ui.ParamEdit->setText("/opt/x, y.txt");
        ui.HintEdit->setText("Two, words");
        ui.Button1->click();
        EXPECT_FALSE(window->isVisible());
    });
    ASSERT_TRUE(shown);
    // Fields with commas are quoted, so the line reads back as three fields.
    const QString expected = path("b c.txt") + ",\"/opt/x, y.txt\",\"Two, words\"";
    EXPECT_EQ(lines(), (QStringList{path("a.txt") + ",-x,A", expected}));
    EXPECT_EQ(readFile("PondwillowPath0.txt"),
              (path("a.txt") + ",-x,A\r\n" + expected + "\r\n").toUtf8());
    ASSERT_EQ(f.LaunchBtn.size(), 2);
    EXPECT_NE(f.LaunchBtn[1], before) << "the tiles were not made afresh";
    EXPECT_EQ(f.LaunchBtn[1]->Hint(), "Two, words -> x, y.txt");
    EXPECT_FALSE(f.form().AddMenu->isChecked());
    EXPECT_TRUE(f.form().AddMenu2->isChecked());
    EXPECT_FALSE(f.DropTarget1->isVisible());
    EXPECT_TRUE(window->isChange);
}

TEST_F(ParameterWindow, TheChangeMarkCarriesOverUntilADiscard)
{
    TForm1& f = *dock;
    ASSERT_TRUE(edit(0, [](Ui::TForm3& ui) { ui.Button1->click(); }));

    // Closed by Escape after an earlier change: rebuilt again from the file,
    // the edit itself is not taken.
    const TImage* before = f.LaunchBtn[0];
    edit(0, [](Ui::TForm3& ui) { ui.HintEdit->setText("not taken"); });
    EXPECT_NE(f.LaunchBtn[0], before);
    EXPECT_EQ(f.LaunchBtn[0]->Hint(), "A -> -x");

    // A discard writes nothing and rebuilds nothing; neither does a later
    // close box.
    QFile::remove(path("PondwillowPath0.txt"));
    f.AddMenuClick();
    before = f.LaunchBtn[0];
    edit(0, [](Ui::TForm3& ui) {
        ui.HintEdit->setText("dropped");
        ui.Button2->click();
    });
    EXPECT_FALSE(window->isChange);
    EXPECT_FALSE(f.form().AddMenu->isChecked());
    EXPECT_FALSE(f.DropTarget1->isVisible());
    edit(0, [&](Ui::TForm3&) { window->close(); });
    EXPECT_EQ(f.LaunchBtn[0], before);
    EXPECT_EQ(lines().at(0), path("a.txt") + ",-x,A");
    EXPECT_FALSE(QFile::exists(path("PondwillowPath0.txt")));
}

TEST_F(ParameterWindow, AChangeWritesBackTheLineOfAMissingFileInItsPlace)
{
    // The second line names a file that is not there (a drive not mounted):
    // no tile, but written back as it was read, between the same two lines.
    const QString absent = "\"" + path("usb/gone.sh") + "\",,\"Gone, for now\"";
    writeFile(
        "PondwillowPath0.txt",
        (path("a.txt") + ",-x,A\r\n" + absent + "\r\n" + path("b c.txt") + ",,B\r\n").toUtf8());
    dock->MenuClick(0);
    ASSERT_EQ(dock->LaunchBtn.size(), 2);

    // Each tile in turn, the one before the missing line and the one after.
    QString first = path("a.txt") + ",-x,A";
    QString second = path("b c.txt") + ",,B";
    for (const int tile : {0, 1}) {
        SCOPED_TRACE(tile);
        ASSERT_TRUE(edit(tile, [](Ui::TForm3& ui) {
            ui.HintEdit->setText(ui.HintEdit->text() + "2");
            ui.Button1->click();
        }));
        (tile == 0 ? first : second) += "2";
        EXPECT_EQ(readFile("PondwillowPath0.txt"),
                  (first + "\r\n" + absent + "\r\n" + second + "\r\n").toUtf8());
        EXPECT_EQ(lines(), (QStringList{first, second}));
    }
}

TEST_F(ParameterWindow, ClosingOnFirstUseChangesNothing)
{
    TForm1& f = *dock;
    f.AddMenuClick();
    QFile::remove(path("PondwillowPath0.txt"));
    const TImage* before = f.LaunchBtn[0];
    edit(0, [&](Ui::TForm3& ui) {
        ui.ParamEdit->setText("typed");
        window->close();
    });
    EXPECT_EQ(f.LaunchBtn[0], before);
    EXPECT_TRUE(f.isAddMode());
    EXPECT_FALSE(QFile::exists(path("PondwillowPath0.txt")));
}

TEST_F(ParameterWindow, NoTileUnderTheMouseOpensNothing)
{
    EXPECT_FALSE(edit(-1, [](Ui::TForm3&) {}));
}

TEST_F(ParameterWindow, AChosenFileBecomesTheParameterUnquoted)
{
    QString answer = "/home/u/My Files/report.txt";
    pw::prompt::setNextFileNameForTesting([&] { return answer; });
    edit(0, [&](Ui::TForm3& ui) {
        ui.Button3->click();
        EXPECT_EQ(ui.ParamEdit->text(), "/home/u/My Files/report.txt");
        answer.clear(); // cancelled
        ui.Button3->click();
        EXPECT_EQ(ui.ParamEdit->text(), "/home/u/My Files/report.txt");
        ui.Button1->click();
    });
    pw::prompt::setNextFileNameForTesting({});
    EXPECT_EQ(lines().at(0), path("a.txt") + ",/home/u/My Files/report.txt,A");
}

TEST_F(ParameterWindow, AFailedWriteKeepsTheWindowOpenAndTheChangeUnmarked)
{
    TForm1& f = *dock;
    QFile::remove(path("PondwillowPath0.txt"));
    QDir(home.path()).mkdir("PondwillowPath0.txt");
    const TImage* before = f.LaunchBtn[0];
    edit(0, [&](Ui::TForm3& ui) {
        ui.HintEdit->setText("kept in memory");
        EXPECT_THROW(window->Button1Click(), pw::Error);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(window->isChange);
    });
    EXPECT_EQ(lines().at(0), path("a.txt") + ",-x,kept in memory");
    EXPECT_EQ(f.LaunchBtn[0], before) << "closing after a failed write rebuilt the dock";
}

TEST_F(ParameterWindow, ItShowsCentredOnTheDesktop)
{
    // Moved away after an earlier showing, it comes back to the centre.
    window->move(0, 0);
    QPoint centre;
    edit(0, [&](Ui::TForm3&) { centre = window->frameGeometry().center(); });
    const QPoint desktop = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((centre - desktop).manhattanLength(), 2);
    EXPECT_EQ(window->size(), QSize(322, 252));
}

} // namespace
