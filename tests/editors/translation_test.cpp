// The English translation covers every caption a user sees: the settings
// window, the parameter window and both dock menus. The program's own texts
// are Japanese, so a caption that still holds a character beyond ASCII once
// the English translation is installed is one the translation misses (a new
// caption, or a text in the code that is not passed through tr()).
#include "app/Translation.h"
#include "editors/Unit2.h"
#include "editors/Unit3.h"
#include "support/DockFixture.h"
#include "ui_Unit1.h"
#include "ui_Unit2.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace
{

struct Caption {
    QString where;
    QString text;
};

void add(QList<Caption>& captions, const QString& where, const QString& text)
{
    if (!text.isEmpty())
        captions.push_back({where, text});
}

// The window's title and every caption, item, tooltip and name for screen
// readers of its controls.
// Fields the user types into and lists of the user's files hold data.
QList<Caption> windowCaptions(QWidget& window)
{
    QList<Caption> captions;
    add(captions, window.objectName() + " title", window.windowTitle());
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets.prepend(&window);
    for (QWidget* w : widgets) {
        const QString name = w->objectName();
        add(captions, name + " tooltip", w->toolTip());
        add(captions, name + " accessible name", w->accessibleName());
        if (auto* label = qobject_cast<QLabel*>(w))
            add(captions, name, label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            add(captions, name, button->text());
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            add(captions, name, group->title());
        else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                add(captions, name + QStringLiteral(" item %1").arg(i), combo->itemText(i));
        }
    }
    return captions;
}

// The menu's title and every item's caption and tooltip, submenus included.
void menuCaptions(QMenu& menu, QList<Caption>& captions)
{
    add(captions, menu.objectName() + " title", menu.title());
    for (QAction* action : menu.actions()) {
        const QString name = menu.objectName() + "/" + action->objectName();
        add(captions, name, action->text());
        add(captions, name + " tooltip", action->toolTip());
        if (action->menu())
            menuCaptions(*action->menu(), captions);
    }
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

class EnglishTranslation : public DockFixture
{
protected:
    void SetUp() override
    {
        DockFixture::SetUp();
        ASSERT_TRUE(pw::translation::available().contains("en"));
        ASSERT_TRUE(pw::translation::install("en"));
        writeFile("a.txt", "x");
        writeFile("PondwillowPath0.txt", (path("a.txt") + ",,A\r\n").toUtf8());
        // The windows are made after the translation is installed, as the
        // program makes them.
        Form1 = &create();
    }

    void TearDown() override
    {
        Form2 = nullptr;
        Form1 = nullptr;
        pw::translation::install({});
        DockFixture::TearDown();
    }

    void expectEnglish(const QList<Caption>& captions, const QStringList& someExpected)
    {
        QStringList texts;
        for (const Caption& c : captions) {
            texts << c.text;
            EXPECT_TRUE(isAscii(c.text))
                << "no English text for " << c.where.toStdString() << ": " << c.text.toStdString();
        }
        for (const QString& expected : someExpected)
            EXPECT_TRUE(texts.contains(expected)) << expected.toStdString();
    }
};

TEST_F(EnglishTranslation, EveryCaptionOfTheDockMenusHasAnEnglishText)
{
    QList<Caption> captions;
    menuCaptions(*dock->form().PopupMenu1, captions);
    menuCaptions(*dock->form().PopupMenu2, captions);
    expectEnglish(captions, {"Add New", "Delete", "Edit Parameters", "Settings", "Select Group",
                             "Save Settings", "Exit", "Menu 1"});
}

TEST_F(EnglishTranslation, EveryCaptionOfTheSettingsWindowHasAnEnglishText)
{
    TForm2 window;
    Form2 = &window;
    // Showing fills the lists that the window makes in code.
    window.show();
    QList<Caption> captions = windowCaptions(window);
    window.form().VerticalCheck->setChecked(true);
    captions += windowCaptions(window);
    expectEnglish(captions, {"Settings", "Reflection", "Taskbar button",
                             "Takes effect after a restart", "Size=96", "Bottom", "Right",
                             "Other colour...", "Background colour 1", "Steel blue"});
    window.close();
}

TEST_F(EnglishTranslation, EveryCaptionOfTheParameterWindowHasAnEnglishText)
{
    TForm3 window;
    expectEnglish(windowCaptions(window), {"Edit Parameters", "Choose file...", "Discard"});
}

} // namespace
