// The settings window: what a showing fills in, what the controls write at
// once, and what every close applies, rebuilds and saves.
#include "core/Errors.h"
#include "editors/Unit2.h"
#include "support/DockFixture.h"
#include "ui_Unit1.h"
#include "ui_Unit2.h"

#include <QFileInfo>

#include <string_view>

namespace
{

class SettingsWindow : public DockFixture
{
protected:
    void TearDown() override
    {
        Form2 = nullptr;
        window.reset();
        Form1 = nullptr;
        DockFixture::TearDown();
    }

    // A group of existing files, named by letter; the hint is the letter.
    void writeGroup(const QString& letters)
    {
        QByteArray lines;
        for (const QChar c : letters) {
            writeFile(QString(c), "x");
            lines += (path(QString(c)) + ",," + QString(c) + "\r\n").toUtf8();
        }
        writeFile("PondwillowPath0.txt", lines);
    }

    // The dock, then the window over it, shown (which fills it).
    Ui::TForm2& open()
    {
        if (!dock)
            Form1 = &create();
        if (!window) {
            window = std::make_unique<TForm2>();
            Form2 = window.get();
        }
        window->show();
        return window->form();
    }

    QString hints() const
    {
        QString s;
        for (const TImage* tile : dock->LaunchBtn)
            s += tile->Hint();
        return s;
    }

    std::unique_ptr<TForm2> window;
};

TEST_F(SettingsWindow, StoredValuesOutsideAControlsRangeAreShownAtItsEndAndWrittenBack)
{
    writeIni("[Icon]\nSize=120\nJump=5\n[Back]\nSize=30\nDirection=2\nOpa=0\n");
    Ui::TForm2& ui = open();
    EXPECT_EQ(ui.IconWidth->value(), 100);
    EXPECT_EQ(dock->bw, 100);
    EXPECT_EQ(ui.JumpSpin->value(), 10);
    EXPECT_EQ(dock->PopLength, 10);
    // The track bar's design value is already the end of its range: its
    // value does not change, so the stored size stays as it was.
    EXPECT_EQ(ui.TrackBar1->Value(), 60);
    EXPECT_EQ(dock->BackSize, 30);
    EXPECT_EQ(ui.Label15->text(), "大きさ=30");
    EXPECT_DOUBLE_EQ(dock->Rectangle1->opacity(), 0.1);
    EXPECT_EQ(ui.ComboBox1->currentText(), "斜め");

    window->close();
    EXPECT_EQ(dock->LaunchBtn.isEmpty(), true);
    const QString ini = QString::fromUtf8(readFile("Pondwillow.ini"));
    EXPECT_TRUE(ini.contains("Size=100")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("Size=30")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("Jump=10")) << ini.toStdString();
}

TEST_F(SettingsWindow, EveryWayOfClosingAppliesRebuildsAndSaves)
{
    struct Case {
        const char* name;
        void (*close)(TForm2&);
    };
    const Case cases[] = {
        {"Close", [](TForm2& w) { w.form().CloseBtn->click(); }},
        {"close box", [](TForm2& w) { w.close(); }},
        {"Escape", [](TForm2& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeIni("[Refrect]\nMode=mtop\n");
        writeGroup("AB");
        Ui::TForm2& ui = open();
        // The fill always selects an edge, so even an untouched window rebuilds.
        EXPECT_TRUE(window->isChange);
        ui.Top->setChecked(true);
        ui.Edit2->setText("");
        ui.Edit3->setText("Tools");
        QFile::remove(path("Pondwillow.ini"));
        const TImage* before = dock->LaunchBtn[0];

        c.close(*window);
        EXPECT_FALSE(window->isVisible());
        EXPECT_NE(dock->LaunchBtn[0], before) << "the dock was not rebuilt";
        EXPECT_TRUE(dock->isTop);
        EXPECT_TRUE(dock->StayOnTop());
        EXPECT_EQ(dock->RefrectMode, TRefrectMode::mtop);
        EXPECT_EQ(dock->form().Menu1->text(), "");
        EXPECT_EQ(dock->form().Menu2->text(), "Tools");
        const QString ini = QString::fromUtf8(readFile("Pondwillow.ini"));
        EXPECT_TRUE(ini.contains("Name1=\r\n")) << ini.toStdString();
        EXPECT_TRUE(ini.contains("Name2=Tools")) << ini.toStdString();
        EXPECT_TRUE(ini.contains("[Mode]\r\nTop=1")) << ini.toStdString();
        window.reset();
        dock.reset();
    }
}

TEST_F(SettingsWindow, TheEdgeFollowsTheListOrTheSecondItemWhenNoneIsChosen)
{
    struct Case {
        const char* stored;
        bool verticalBefore;
        int toggles;
        const char* shown; // selected item after the fill and the toggles
        TRefrectMode after;
    };
    const Case cases[] = {
        {"mtop", true, 0, "左", TRefrectMode::mleft},
        {"mright", false, 0, "下", TRefrectMode::mbottom},
        {"mtop", false, 1, "", TRefrectMode::mright},
        {"mleft", true, 1, "", TRefrectMode::mbottom},
        {"mtop", false, 2, "", TRefrectMode::mbottom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 vertical=%2 toggles=%3")
                         .arg(c.stored)
                         .arg(c.verticalBefore)
                         .arg(c.toggles)
                         .toStdString());
        writeIni(QStringLiteral("[Refrect]\nMode=%1\n[Form]\nMode=%2\n")
                     .arg(c.stored)
                     .arg(int(c.verticalBefore)));
        Ui::TForm2& ui = open();
        for (int i = 0; i < c.toggles; ++i)
            ui.VerticalCheck->toggle();
        EXPECT_EQ(ui.ComboBox2->currentText(), c.shown);
        const bool vertical = ui.VerticalCheck->isChecked();
        EXPECT_EQ(ui.ComboBox2->itemText(0), vertical ? "左" : "上");
        EXPECT_EQ(ui.ComboBox2->itemText(1), vertical ? "右" : "下");
        EXPECT_EQ(dock->isVertical, vertical);
        window->close();
        EXPECT_EQ(dock->RefrectMode, c.after);
        window.reset();
        dock.reset();
    }
}

TEST_F(SettingsWindow, TheTrackBarRoundsHalvesToEven)
{
    Ui::TForm2& ui = open();
    for (const auto& [dragged, stored] : {std::pair{100.5, 100}, std::pair{101.5, 102}}) {
        ui.TrackBar1->SetValue(dragged);
        EXPECT_EQ(dock->BackSize, stored);
        EXPECT_EQ(ui.Label15->text(), QStringLiteral("大きさ=%1").arg(stored));
    }
}

TEST_F(SettingsWindow, LiveControlsWriteTheDockAndOnlyTheOpacityShowsAtOnce)
{
    writeGroup("A");
    Ui::TForm2& ui = open();
    const QImage before = dock->grab().toImage();
    ui.ComboColorBox1->SetColor(0xFF112233);
    ui.ComboBox1->setCurrentIndex(1);
    ui.IconWidth->setValue(64);
    EXPECT_EQ(dock->Color0, std::int32_t(0xFF112233));
    EXPECT_EQ(dock->Direction, 1);
    EXPECT_EQ(dock->bw, 64);
    EXPECT_EQ(dock->grab().toImage(), before) << "the dock changed before the close";

    ui.BackOpa->setValue(1.0);
    EXPECT_DOUBLE_EQ(dock->Rectangle1->opacity(), 1.0);
    EXPECT_NE(dock->grab().toImage(), before);

    // Choosing a picture stores its path, and nothing else.
    window->isChange = false;
    pw::prompt::setNextFileNameForTesting([this] { return path("back.png"); });
    ui.FileSelectBtn->click();
    pw::prompt::setNextFileNameForTesting([] { return QString(); });
    ui.FileSelectBtn->click();
    pw::prompt::setNextFileNameForTesting({});
    EXPECT_EQ(dock->GazouFile, path("back.png"));
    EXPECT_FALSE(window->isChange);

    // The shadow choice marks a rebuild; the field follows at the close.
    ui.ShadRadio->setChecked(true);
    EXPECT_TRUE(window->isChange);
    EXPECT_TRUE(dock->isRefr);
    window->close();
    EXPECT_FALSE(dock->isRefr);
    EXPECT_EQ(dock->LaunchBtn[0]->boundingRect().size(), QSizeF(64, 64));
}

TEST_F(SettingsWindow, EachLiveControlWritesItsFieldAndMarksARebuild)
{
    struct Case {
        const char* control;
        void (*change)(Ui::TForm2&);
        bool (*written)(const TForm1&); // the dock's field holds the new value
        bool marks;                     // sets isChange
    };
    const Case cases[] = {
        {"HGap", [](Ui::TForm2& u) { u.HGap->setValue(17); },
         [](const TForm1& f) { return f.Gp == 17.0f; }, true},
        {"IconWidth", [](Ui::TForm2& u) { u.IconWidth->setValue(40); },
         [](const TForm1& f) { return f.bw == 40; }, true},
        {"xySpin", [](Ui::TForm2& u) { u.xySpin->setValue(-7); },
         [](const TForm1& f) { return f.xyoffset == -7; }, true},
        {"JumpSpin", [](Ui::TForm2& u) { u.JumpSpin->setValue(99); },
         [](const TForm1& f) { return f.PopLength == 99; }, true},
        {"RefOpaSpin", [](Ui::TForm2& u) { u.RefOpaSpin->setValue(0.3); },
         [](const TForm1& f) { return f.RefOpa == 0.3f; }, true},
        {"RefLengthSpin", [](Ui::TForm2& u) { u.RefLengthSpin->setValue(0.9); },
         [](const TForm1& f) { return f.RefLength == 0.9f; }, true},
        {"DisInterpolationCheck", [](Ui::TForm2& u) { u.DisInterpolationCheck->toggle(); },
         [](const TForm1& f) { return !f.isDisInterpolation; }, true},
        {"ImageCheck", [](Ui::TForm2& u) { u.ImageCheck->setChecked(true); },
         [](const TForm1& f) { return f.isGazou; }, true},
        // Written at the close only, but the rebuild is marked now.
        {"FlowPosition", [](Ui::TForm2& u) { u.FlowPosition->setValue(5); },
         [](const TForm1& f) { return f.RefOff == 0; }, true},
        {"ComboBox2", [](Ui::TForm2& u) { u.ComboBox2->setCurrentIndex(0); },
         [](const TForm1& f) { return f.RefrectMode == TRefrectMode::mbottom; }, true},
        {"ComboColorBox2", [](Ui::TForm2& u) { u.ComboColorBox2->SetColor(0x80FF0000); },
         [](const TForm1& f) { return f.Color1 == std::int32_t(0x80FF0000); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        Ui::TForm2& ui = open();
        window->isChange = false;
        c.change(ui);
        EXPECT_TRUE(c.written(*dock));
        EXPECT_EQ(window->isChange, c.marks);
        window.reset();
        dock.reset();
    }
}

TEST_F(SettingsWindow, ADirectionNoItemStandsForShowsNoneAndIsKept)
{
    writeIni("[Back]\nDirection=1\n");
    Ui::TForm2& ui = open();
    window->close();
    dock->Direction = 7;
    open();
    EXPECT_EQ(ui.ComboBox1->currentIndex(), -1);
    window->close();
    EXPECT_EQ(dock->Direction, 7);
}

TEST_F(SettingsWindow, TheEntryListReordersDeletesAndConfirms)
{
    writeGroup("ABC");
    Ui::TForm2& ui = open();
    QListWidget& list = *ui.ListBox1;
    const auto items = [&list] {
        QString s;
        for (int i = 0; i < list.count(); ++i)
            s += list.item(i)->text();
        return s;
    };
    ASSERT_EQ(items(), "ABC");

    // Nothing selected, the first item up, the last item down: nothing moves.
    list.setCurrentRow(-1);
    for (QPushButton* b : {ui.UpBtn, ui.DownBtn, ui.DelBtn})
        b->click();
    list.setCurrentRow(0);
    ui.UpBtn->click();
    list.setCurrentRow(2);
    ui.DownBtn->click();
    EXPECT_EQ(items(), "ABC");

    list.setCurrentRow(0);
    ui.DownBtn->click();
    EXPECT_EQ(items(), "BAC");
    EXPECT_EQ(list.currentRow(), 1);
    ui.ConfirmBtn->click();
    // Moved after the confirmation: dropped at the close.
    list.setCurrentRow(2);
    ui.UpBtn->click();
    EXPECT_EQ(items(), "BCA");
    EXPECT_EQ(hints(), "ABC") << "the dock changed before the close";
    window->close();
    EXPECT_EQ(hints(), "BAC");

    // Every entry deleted and confirmed: an empty dock in add mode.
    open();
    EXPECT_EQ(items(), "BAC");
    for (int i = 0; i < 3; ++i) {
        list.setCurrentRow(0);
        ui.DelBtn->click();
    }
    EXPECT_EQ(list.count(), 0);
    ui.ConfirmBtn->click();
    window->close();
    EXPECT_TRUE(dock->LaunchBtn.isEmpty());
    EXPECT_EQ(readFile("PondwillowPath0.txt"), "");
    EXPECT_TRUE(dock->isAddMode());
    EXPECT_TRUE(dock->DropTarget1->isVisible());
}

TEST_F(SettingsWindow, ConfirmWritesBackTheLineOfAMissingFileWithTheLineItFollows)
{
    // A B C, with a line naming a missing file after A: the list shows A B C;
    // the line is written after A wherever A goes, and after the line before
    // A once A is deleted.
    const QString absent = "\"" + path("usb/gone.sh") + "\",,\"Gone, for now\"";
    struct Case {
        const char* name;
        QList<std::pair<int, QPushButton * Ui::TForm2::*>> clicks; // row, button
        const char* items;
        const char* file; // G: the missing file's line
    };
    const Case cases[] = {
        {"A down", {{0, &Ui::TForm2::DownBtn}}, "BAC", "BAGC"},
        {"C up twice", {{2, &Ui::TForm2::UpBtn}, {1, &Ui::TForm2::UpBtn}}, "CAB", "CAGB"},
        {"B up", {{1, &Ui::TForm2::UpBtn}}, "BAC", "BAGC"},
        {"A deleted", {{0, &Ui::TForm2::DelBtn}}, "BC", "GBC"},
        {"A down, then deleted",
         {{0, &Ui::TForm2::DownBtn}, {1, &Ui::TForm2::DelBtn}},
         "BC",
         "BGC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeGroup("ABC");
        const QByteArray lines = readFile("PondwillowPath0.txt");
        const qsizetype afterA = lines.indexOf("\r\n") + 2;
        writeFile("PondwillowPath0.txt",
                  lines.left(afterA) + (absent + "\r\n").toUtf8() + lines.mid(afterA));
        Ui::TForm2& ui = open();
        QListWidget& list = *ui.ListBox1;
        ASSERT_EQ(list.count(), 3);
        for (const auto& [row, button] : c.clicks) {
            list.setCurrentRow(row);
            (ui.*button)->click();
        }
        QString items;
        for (int i = 0; i < list.count(); ++i)
            items += list.item(i)->text();
        EXPECT_EQ(items, c.items);

        ui.ConfirmBtn->click();
        QByteArray expected;
        for (const char letter : std::string_view(c.file)) {
            const QString l(QChar::fromLatin1(letter));
            expected += ((letter == 'G' ? absent : path(l) + ",," + l) + "\r\n").toUtf8();
        }
        EXPECT_EQ(readFile("PondwillowPath0.txt"), expected);
        window->close();
        EXPECT_EQ(hints(), c.items);
        window.reset();
        dock.reset();
    }
}

TEST_F(SettingsWindow, AnEmptyGroupTurnsTransparencyOffAndTheCloseLeavesItOff)
{
    writeFile("PondwillowPath0.txt", "");
    open();
    EXPECT_FALSE(dock->Transparency());
    window->close();
    EXPECT_FALSE(dock->Transparency());
}

TEST_F(SettingsWindow, APathNoFileCanHaveStopsTheFillWithAMessage)
{
    writeGroup("A");
    Form1 = &create();
    window = std::make_unique<TForm2>();
    Form2 = window.get();
    dock->LaunchPath[0]->append("C:\\a|b.exe,,bad");
    try {
        window->FormShow();
        FAIL() << "no error";
    } catch (const pw::Error& e) {
        EXPECT_EQ(e.message(), "パスに無効な文字が含まれています");
    }
    EXPECT_EQ(window->form().ListBox1->count(), 1);
}

TEST_F(SettingsWindow, ReturnInAFieldPressesNoButton)
{
    writeGroup("A");
    Ui::TForm2& ui = open();
    int dialogs = 0;
    pw::prompt::setNextFileNameForTesting([&dialogs] {
        ++dialogs;
        return QString();
    });
    ui.IconWidth->setFocus();
    ui.IconWidth->selectAll();
    QTest::keyClicks(ui.IconWidth, "64");
    QTest::keyClick(ui.IconWidth, Qt::Key_Return);
    QTest::keyClick(ui.Edit1, Qt::Key_Return);
    pw::prompt::setNextFileNameForTesting({});
    EXPECT_EQ(dialogs, 0) << "Return opened the picture dialog";
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dock->bw, 64);
    // A focused button still takes the space bar.
    ui.CloseBtn->setFocus();
    QTest::keyClick(ui.CloseBtn, Qt::Key_Space);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
