// On a system whose ANSI code page lacks Japanese (Windows-1252 here), the
// dock's Japanese group names and a group of Japanese file names survive a
// save and the next start.
#include "storage/TextCodec.h"
#include "support/DockFixture.h"
#include "ui_Unit1.h"

namespace
{

class NarrowCodePage : public DockFixture
{
protected:
    void SetUp() override
    {
        DockFixture::SetUp();
        pw::platform::useWindows1252AsAnsiForTesting(true);
    }
    void TearDown() override
    {
        pw::platform::useWindows1252AsAnsiForTesting(false);
        DockFixture::TearDown();
    }
};

TEST_F(NarrowCodePage, JapaneseGroupNamesAndFilesSurviveASaveAndARestart)
{
    writeFile("メモ.txt", "a");
    const QString line = path("メモ.txt") + ",-v,ヒント";
    writeFile("PondwillowPath0.txt", "\xEF\xBB\xBF" + (line + "\r\n").toUtf8());
    {
        TForm1& f = create();
        ASSERT_EQ(f.LaunchBtn.size(), 1);
        f.saveGroup();
        EXPECT_TRUE(f.close());
    }
    // The default group names went into a UTF-16 settings file, the entry
    // into a UTF-8 group file, each with its mark.
    EXPECT_TRUE(readFile("Pondwillow.ini").startsWith(QByteArray("\xFF\xFE[\0", 4)));
    EXPECT_EQ(readFile("PondwillowPath0.txt"), "\xEF\xBB\xBF" + (line + "\r\n").toUtf8());

    dock.reset();
    TForm1& f = create();
    EXPECT_EQ(f.form().Menu0->text(), QStringLiteral("メニュー1"));
    EXPECT_EQ(f.form().Menu4->text(), QStringLiteral("メニュー5"));
    EXPECT_EQ(QStringList(*f.LaunchPath[0]), QStringList{line});
    EXPECT_EQ(f.LaunchBtn.size(), 1);
    EXPECT_TRUE(errors.isEmpty());
}

} // namespace
