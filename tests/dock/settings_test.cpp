#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QCloseEvent>

namespace
{

using Settings = DockFixture;

QStringList iniKeys(const QByteArray& text)
{
    QStringList keys;
    QString section;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            section = line;
        else if (line.contains(QLatin1Char('=')))
            keys << section + line.section(QLatin1Char('='), 0, 0);
    }
    return keys;
}

TEST_F(Settings, NoFileGivesTheDefaults)
{
    TForm1& f = create(false);
    EXPECT_EQ(f.bw, 48);
    EXPECT_EQ(f.Left(), 960);
    EXPECT_EQ(f.Top(), 540);
    EXPECT_EQ(f.Width(), 96); // 2 x bw until the first show
    EXPECT_EQ(f.Height(), 96);
    EXPECT_FALSE(f.isVertical);
    EXPECT_EQ(f.RefrectMode, TRefrectMode::mbottom);
    EXPECT_EQ(f.MenuIndex, 0);
    EXPECT_TRUE(f.form().Menu0->isChecked());
    EXPECT_TRUE(f.isShowTaskBar);
    EXPECT_TRUE(f.isRefr);
    EXPECT_TRUE(f.isDisInterpolation);
    EXPECT_EQ(f.PopLength, 30);
    EXPECT_FLOAT_EQ(f.RefOpa, 0.5f);
    EXPECT_FLOAT_EQ(f.RefLength, 0.5f);
    EXPECT_FLOAT_EQ(f.Gp, 4);
    EXPECT_TRUE(f.isShowHint);
    EXPECT_FALSE(f.isTop);
    EXPECT_FALSE(f.StayOnTop());
    EXPECT_EQ(f.BackSize, 96);
    EXPECT_EQ(quint32(f.Color0), 0xFFF0F8FFu);
    EXPECT_DOUBLE_EQ(f.Rectangle1->opacity(), 0.5);
    EXPECT_FALSE(f.isGradient);
    EXPECT_FALSE(f.isGazou);
    EXPECT_EQ(f.Rectangle1->fillKind(), TRectangle::FillKind::Solid);
    EXPECT_EQ(f.Rectangle1->fillColor().rgba(), 0xFFF0F8FFu);
    EXPECT_EQ(f.form().Menu4->text(), QStringLiteral("メニュー5"));
    EXPECT_TRUE(errors.isEmpty());
}

// One stored value, and what the dock makes of it.
struct ReadCase {
    const char* ini;
    std::function<void(TForm1&)> check;
};

TEST_F(Settings, StoredValuesAreReadByTheirFormats)
{
    const ReadCase cases[] = {
        {"[Hint]\nShow=false\n", [](TForm1& f) { EXPECT_TRUE(f.isShowHint); }},
        {"[Hint]\nShow=0\n", [](TForm1& f) { EXPECT_FALSE(f.isShowHint); }},
        {"[Hint]\nShow=2\n", [](TForm1& f) { EXPECT_TRUE(f.isShowHint); }},
        {"[Back]\nColor0=0xFF000000\n", [](TForm1& f) { EXPECT_EQ(f.Color0, -16777216); }},
        {"[Back]\nColor0=$FF000000\n", [](TForm1& f) { EXPECT_EQ(f.Color0, -16777216); }},
        {"[Back]\nOpa=3\n", [](TForm1& f) { EXPECT_DOUBLE_EQ(f.Rectangle1->opacity(), 1.0); }},
        {"[Back]\nOpa=abc\n", [](TForm1& f) { EXPECT_DOUBLE_EQ(f.Rectangle1->opacity(), 0.5); }},
        {"[Back]\nOpa=-1\n", [](TForm1& f) { EXPECT_DOUBLE_EQ(f.Rectangle1->opacity(), 0.0); }},
        {"[Refrect]\nMode=MTOP\n", [](TForm1& f) { EXPECT_EQ(f.RefrectMode, TRefrectMode::mtop); }},
        {"[Refrect]\nMode=sideways\n",
         [](TForm1& f) { EXPECT_EQ(f.RefrectMode, TRefrectMode::mbottom); }},
        {"[Refrect]\nMode=\n", [](TForm1& f) { EXPECT_EQ(f.RefrectMode, TRefrectMode::mbottom); }},
        {"[Menu]\nIndex=3\n",
         [](TForm1& f) {
             EXPECT_EQ(f.MenuIndex, 3);
             EXPECT_TRUE(f.form().Menu3->isChecked());
             EXPECT_FALSE(f.form().Menu0->isChecked());
         }},
        {"[Menu]\nIndex=7\n", [](TForm1& f) { EXPECT_EQ(f.MenuIndex, 0); }},
        {"[Menu]\nIndex=-1\n", [](TForm1& f) { EXPECT_EQ(f.MenuIndex, 0); }},
        {"[menu]\nname2=Tools\n", [](TForm1& f) { EXPECT_EQ(f.form().Menu2->text(), "Tools"); }},
        {"[Back]\nImageFile=\n", [](TForm1& f) { EXPECT_TRUE(f.GazouFile.isEmpty()); }},
        {"[Form]\nTop=-5000\nLeft=99999\n",
         [](TForm1& f) {
             EXPECT_EQ(f.Top(), -5000);
             EXPECT_EQ(f.Left(), 99999);
         }},
        {"[Icon]\nSize=64\nWidth=10\n",
         [](TForm1& f) {
             EXPECT_EQ(f.bw, 64);
             EXPECT_EQ(f.Width(), 128);
         }},
        {"[Icon]\nGapH=7\n", [](TForm1& f) { EXPECT_FLOAT_EQ(f.Gp, 7); }},
        {"[Mode]\nTop=1\n",
         [](TForm1& f) {
             EXPECT_TRUE(f.isTop);
             EXPECT_TRUE(f.StayOnTop());
         }},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.ini);
        writeIni(QString::fromUtf8(c.ini));
        c.check(create(false));
        dock.reset();
    }
}

TEST_F(Settings, DefaultPositionIsTheScreenCentreRoundedHalfToEven)
{
    struct Case {
        QSizeF screen;
        int left, top;
    };
    for (const Case& c : {Case{{1920, 1081}, 960, 540}, Case{{1920, 1083}, 960, 542},
                          Case{{1365, 768}, 682, 384}, Case{{1367, 768}, 684, 384}}) {
        SCOPED_TRACE(c.screen.height());
        pw::setScreenSizeForTesting(c.screen);
        TForm1& f = create(false);
        EXPECT_EQ(f.Left(), c.left);
        EXPECT_EQ(f.Top(), c.top);
        dock.reset();
    }
}

TEST_F(Settings, FirstSaveWritesThe31KeysInOrder)
{
    create(false).WriteIniFile();
    const QStringList expected = {"[Icon]Size",
                                  "[Icon]Width",
                                  "[Icon]GapH",
                                  "[Icon]Refrection",
                                  "[Icon]DisInterpolation",
                                  "[Icon]Jump",
                                  "[Form]Top",
                                  "[Form]Left",
                                  "[Form]Mode",
                                  "[Form]TaskBar",
                                  "[Refrect]Mode",
                                  "[Refrect]Opa",
                                  "[Refrect]Length",
                                  "[Refrect]Offset",
                                  "[Menu]Index",
                                  "[Menu]Name0",
                                  "[Menu]Name1",
                                  "[Menu]Name2",
                                  "[Menu]Name3",
                                  "[Menu]Name4",
                                  "[Hint]Show",
                                  "[Mode]Top",
                                  "[Back]Opa",
                                  "[Back]Color0",
                                  "[Back]Color1",
                                  "[Back]Gradient",
                                  "[Back]Direction",
                                  "[Back]Size",
                                  "[Back]Image",
                                  "[Back]ImageFile",
                                  "[Back]Offset"};
    const QByteArray text = readFile("Pondwillow.ini");
    EXPECT_EQ(iniKeys(text), expected);
    EXPECT_TRUE(text.contains("Mode=mbottom\r\nOpa=0.5\r\n"));
    EXPECT_TRUE(text.contains("Color0=-984833\r\n"));
    EXPECT_TRUE(text.contains("ImageFile=\r\n"));
    EXPECT_FALSE(text.startsWith("\xEF\xBB\xBF"));
}

TEST_F(Settings, SaveNormalisesWhatWasRead)
{
    writeIni("; kept comment\n[Icon]\nWidth=10\nSize=40\n[Back]\nColor0=$FF000000\nOpa=3\n"
             "[Refrect]\nMode=MTOP\nOpa=0.3\n[Extra]\nKey=kept\n");
    TForm1& f = create(false);
    f.Gp = 4.5f; // halves go to even on the way out
    f.WriteIniFile();
    const QString text = QString::fromUtf8(readFile("Pondwillow.ini"));
    // The file's own line breaks (LF) go on, for the dock's lines too.
    for (const char* expected : {"; kept comment\n", "Width=40", "Size=40", "Color0=-16777216",
                                 "[Back]\nColor0=-16777216\nOpa=1\n", "Mode=mtop",
                                 "Opa=0.300000011920929", "GapH=4", "[Extra]\nKey=kept\n"}) {
        SCOPED_TRACE(expected);
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << text.toStdString();
    }
    EXPECT_EQ(text.count(QStringLiteral("Index=")), 1);
}

TEST_F(Settings, AFailedSaveIsReportedWithThePathAndKeepsTheDockOpen)
{
    // A directory where the settings file should be cannot be replaced.
    ASSERT_TRUE(QDir(home.path()).mkdir("Pondwillow.ini"));
    TForm1& f = create();
    // The path, then the system's reason.
    const QString expected = home.path() + "/Pondwillow.ini に書き込めません: Is a directory";
    try {
        f.WriteIniFile();
        ADD_FAILURE() << "no error";
    } catch (const pw::Error& e) {
        EXPECT_EQ(e.message(), expected);
    }
}

TEST_F(Settings, ClosingWritesTheSettingsAndNoGroupFile)
{
    TForm1& f = create();
    f.SetLeft(123);
    f.SetTop(45);
    EXPECT_TRUE(f.close());
    const QString text = QString::fromUtf8(readFile("Pondwillow.ini"));
    EXPECT_TRUE(text.contains("[Form]\r\nTop=45\r\nLeft=123\r\n")) << text.toStdString();
    EXPECT_TRUE(QDir(home.path()).entryList({"PondwillowPath*"}).isEmpty());
}

TEST_F(Settings, TheEndOfTheSessionSavesOnceForTheDocksOwnWindow)
{
    TForm1& f = create();
    f.SetLeft(321);
    QWidget other;
    other.show();
    const auto query = [](WId wnd) {
        TMessageDispatcherWin::ProcessMessage(static_cast<std::uintptr_t>(wnd),
                                              pw::msgQueryEndSession, 0, 0);
    };
    // The query comes for every top-level window; only the dock's writes.
    query(other.winId());
    query(0);
    EXPECT_FALSE(QFile::exists(path("Pondwillow.ini")));
    query(f.winId());
    EXPECT_TRUE(readFile("Pondwillow.ini").contains("Left=321\r\n"));
}

TEST_F(Settings, ValuesNoScreenCanShowAreBoundedAndSavedAsUsed)
{
    struct Case {
        const char* ini;
        const char* key; // as written back
        int (*field)(const TForm1&);
        int used;
    };
    const auto bw = [](const TForm1& f) { return f.bw; };
    const auto gap = [](const TForm1& f) { return int(f.Gp); };
    const auto jump = [](const TForm1& f) { return f.PopLength; };
    const auto back = [](const TForm1& f) { return f.BackSize; };
    const auto offset = [](const TForm1& f) { return f.xyoffset; };
    const auto refOff = [](const TForm1& f) { return f.RefOff; };
    const Case cases[] = {
        {"[Icon]\nSize=30000\n", "[Icon]\r\nSize=2048\r\n", bw, 2048},
        {"[Icon]\nSize=0\n", "[Icon]\r\nSize=1\r\n", bw, 1},
        {"[Icon]\nSize=-48\n", "[Icon]\r\nSize=1\r\n", bw, 1},
        {"[Icon]\nSize=128\n", "[Icon]\r\nSize=128\r\n", bw, 128}, // a big icon stays
        {"[Icon]\nGapH=100000\n", "GapH=2048\r\n", gap, 2048},
        {"[Icon]\nGapH=-10\n", "GapH=0\r\n", gap, 0},
        {"[Icon]\nGapH=12\n", "GapH=12\r\n", gap, 12},
        {"[Icon]\nJump=1000000000\n", "Jump=2048\r\n", jump, 2048},
        {"[Icon]\nJump=-30\n", "Jump=0\r\n", jump, 0},
        {"[Back]\nSize=100000\n", "[Back]\r\nSize=2048\r\n", back, 2048},
        {"[Back]\nSize=0\n", "[Back]\r\nSize=1\r\n", back, 1},
        {"[Back]\nOffset=-2147483648\n", "Offset=-2048\r\n", offset, -2048},
        {"[Back]\nOffset=-12\n", "Offset=-12\r\n", offset, -12},
        {"[Refrect]\nOffset=99999\n", "[Refrect]\r\nOffset=2048\r\n", refOff, 2048},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        QFile::remove(path("Pondwillow.ini"));
        writeFile("Pondwillow.ini", QByteArray(c.ini).replace("\n", "\r\n"));
        TForm1& f = create();
        EXPECT_EQ(c.field(f), c.used);
        f.WriteIniFile();
        const QByteArray saved = readFile("Pondwillow.ini");
        EXPECT_TRUE(saved.contains(c.key)) << saved.toStdString();
        dock.reset();
    }
    // A reflection strength or length that is no finite number gives the default.
    writeIni("[Refrect]\nOpa=1e300\nLength=-1e99\n");
    TForm1& f = create(false);
    EXPECT_EQ(f.RefOpa, 0.5f);
    EXPECT_EQ(f.RefLength, 0.5f);
}

TEST_F(Settings, AllHugeValuesAtOnceGiveADockThatFitsTheScreen)
{
    writeFile("a.txt", "x");
    writeFile("PondwillowPath0.txt", (path("a.txt") + ",,a\r\n").toUtf8());
    writeIni("[Icon]\nSize=100000\nGapH=100000\nJump=1000000000\n[Back]\nSize=100000\n"
             "Offset=100000\n");
    TForm1& f = create();
    // Across: 2048 + 2048 + 2048; along: 40 + one tile slot.
    EXPECT_EQ(f.Height(), 3 * 2048);
    EXPECT_EQ(f.Width(), 40 + 2048 + 2048);
    EXPECT_LE(f.Height(), 32767);
    EXPECT_TRUE(QRect(0, 0, 1920, 1080).intersects(f.geometry()));
}

TEST_F(Settings, ADockOffTheScreenComesBackFarEnoughToBeDragged)
{
    struct Case {
        const char* name;
        QPoint stored;
        QPoint shown;
    };
    // A bottom dock of one tile, 92 wide and 126 high, on a 1920 x 1080
    // screen: 32 pixels of it stay visible in each direction; a dock partly
    // on the screen stays where it is.
    const Case cases[] = {
        {"far up and right", {100000, -100000}, {1920 - 32, 32 - 126}},
        {"far left", {-100000, 300}, {32 - 92, 300}},
        {"partly off to the left", {-50, 300}, {-50, 300}},
        {"partly off the top", {300, -90}, {300, -90}},
        {"almost off to the right", {1900, 300}, {1920 - 32, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("a.txt", "x");
        writeFile("PondwillowPath0.txt", (path("a.txt") + ",,a\r\n").toUtf8());
        writeIni(QStringLiteral("[Form]\nLeft=%1\nTop=%2\n").arg(c.stored.x()).arg(c.stored.y()));
        TForm1& f = create();
        EXPECT_EQ(QPoint(f.Left(), f.Top()), c.shown);
        dock.reset();
    }
}

} // namespace
