// The settings and parameter windows are made the first time the dock opens
// them, once each: a second opening shows the same window (the parameter
// window's change mark lives in it), and their owner takes them away.
#include "editors/EditorWindows.h"
#include "editors/Unit2.h"
#include "editors/Unit3.h"
#include "support/DockFixture.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace
{

class EditorWindowsTest : public DockFixture
{
protected:
    // Closes the modal window the next step opens, as its close box would.
    static void closeWhenShown()
    {
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
    }
};

TEST_F(EditorWindowsTest, EachWindowIsMadeAtItsFirstOpeningAndKeptUntilItsOwnerGoes)
{
    writeFile("a.txt", "x");
    writeFile("PondwillowPath0.txt", (path("a.txt") + ",-x,A\r\n").toUtf8());
    Form1 = &create();
    {
        pw::EditorWindows editors;
        dock->setEditorWindows(&editors);
        EXPECT_EQ(Form2, nullptr);
        EXPECT_EQ(Form3, nullptr);

        // No tile under the mouse: nothing to edit, no window made.
        dock->mouseobj = nullptr;
        dock->EditCmdClick();
        EXPECT_EQ(Form3, nullptr);

        dock->mouseobj = dock->LaunchBtn[0];
        closeWhenShown();
        dock->EditCmdClick();
        TForm3* parameters = Form3;
        ASSERT_NE(parameters, nullptr);
        EXPECT_EQ(Form2, nullptr) << "opening one window makes only that one";
        parameters->isChange = true;
        dock->mouseobj = dock->LaunchBtn[0];
        closeWhenShown();
        dock->EditCmdClick();
        EXPECT_EQ(Form3, parameters);
        EXPECT_TRUE(Form3->isChange) << "the window keeps its state between showings";

        closeWhenShown();
        dock->Seting2Click();
        TForm2* settings = Form2;
        ASSERT_NE(settings, nullptr);
        closeWhenShown();
        dock->Seting2Click();
        EXPECT_EQ(Form2, settings);
        dock->setEditorWindows(nullptr);
    }
    EXPECT_EQ(Form2, nullptr);
    EXPECT_EQ(Form3, nullptr);
    Form1 = nullptr;
}

} // namespace
