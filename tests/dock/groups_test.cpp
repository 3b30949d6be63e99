#include "support/DockFixture.h"
#include "ui_Unit1.h"

#include <QFile>

namespace
{

using Groups = DockFixture;

TEST_F(Groups, AGroupWithoutEntriesShowsTheDropZoneInAddMode)
{
    // Only a file that cannot be read also makes the window transparent.
    struct Case {
        const char* name;
        bool fileExists;
        bool transparent;
    };
    for (const Case& c : {Case{"missing file", false, true}, Case{"empty file", true, false}}) {
        SCOPED_TRACE(c.name);
        QFile::remove(path("PondwillowPath0.txt"));
        if (c.fileExists)
            writeFile("PondwillowPath0.txt", "");
        TForm1& f = create(false);
        f.SetTransparency(false);
        f.show();
        EXPECT_TRUE(f.DropTarget1->isVisible());
        EXPECT_TRUE(f.form().AddMenu->isChecked());
        EXPECT_TRUE(f.form().AddMenu2->isChecked());
        EXPECT_EQ(f.Transparency(), c.transparent);
        EXPECT_TRUE(f.LaunchBtn.isEmpty());
        EXPECT_EQ(QFile::exists(path("PondwillowPath0.txt")), c.fileExists)
            << "loading changed what is on disk";
        dock.reset();
    }
}

TEST_F(Groups, LoadKeepsExistingFilesInOrderAndRewritesTheirLines)
{
    writeFile("a.txt", "a");
    writeFile("b c.sh", "b");
    QDir(home.path()).mkdir("folder");
    QFile::link(path("a.txt"), path("link.txt"));
    QFile::link(path("gone.txt"), path("dangling.txt"));
    const QByteArray lines =
        QString("%1\r\n"                             // a path alone
                "%2,-v,Run it\r"                     // lone CR line end
                "%3,,folder\n"                       // a directory: not a file
                "%4,,missing\r\n"                    // no such file
                "\r\n"                               // an empty line holds no entry
                " \t\r\n"                            // blanks: an entry of no file
                "%5,,linked\r\n"                     // a link to a file counts
                "%6,,dangling\r\n"                   // a link to nothing does not
                "%1,x,Hello, world\r\n"              // a comma in the hint, as older files hold it
                "\"%2\",\"a,b\",\"say \"\"hi\"\"\"") // quoted fields, no final line break
            .arg(path("a.txt"), path("b c.sh"), path("folder"), path("missing.txt"),
                 path("link.txt"), path("dangling.txt"))
            .toUtf8();
    writeFile("PondwillowPath0.txt", lines);

    TForm1& f = create();
    const QStringList expected = {
        path("a.txt") + ",,",
        path("b c.sh") + ",-v,Run it",
        path("link.txt") + ",,linked",
        path("a.txt") + ",x,\"Hello, world\"",
        path("b c.sh") + ",\"a,b\",say \"hi\"",
    };
    EXPECT_EQ(QStringList(*f.LaunchPath[0]), expected);
    EXPECT_EQ(f.LaunchBtn.size(), expected.size());
    EXPECT_FALSE(f.DropTarget1->isVisible());
    EXPECT_FALSE(f.form().AddMenu->isChecked());

    // Saving writes CR LF after every line: the tiles' lines as held, the
    // lines that make no tile as read and in their places; an empty line
    // goes, one of blanks stays. Reading it back gives the same entries.
    f.saveGroup();
    const QStringList saved = {
        expected[0],
        expected[1],
        path("folder") + ",,folder",
        path("missing.txt") + ",,missing",
        " \t",
        expected[2],
        path("dangling.txt") + ",,dangling",
        expected[3],
        expected[4],
    };
    EXPECT_EQ(readFile("PondwillowPath0.txt"), (saved.join("\r\n") + "\r\n").toUtf8());
    dock.reset();
    EXPECT_EQ(QStringList(*create().LaunchPath[0]), expected);
}

TEST_F(Groups, ByteOrderMarksAreHonoured)
{
    writeFile("a.txt", "a");
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const QString line = path("a.txt") + ",,日本語";
    QByteArray utf16le("\xFF\xFE", 2);
    for (QChar c : line)
        utf16le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    QByteArray utf16be("\xFE\xFF", 2);
    for (QChar c : line)
        utf16be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    const Case cases[] = {
        {"utf-8 with mark", "\xEF\xBB\xBF" + line.toUtf8()},
        {"utf-8 plain", line.toUtf8()},
        {"utf-16 le", utf16le},
        {"utf-16 be", utf16be},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("PondwillowPath0.txt", c.bytes);
        TForm1& f = create();
        ASSERT_EQ(f.LaunchPath[0]->size(), 1);
        EXPECT_EQ(f.LaunchPath[0]->at(0), line);
        f.saveGroup();
        EXPECT_EQ(readFile("PondwillowPath0.txt"), line.toUtf8() + "\r\n");
        dock.reset();
    }
}

TEST_F(Groups, EachGroupHasItsOwnFile)
{
    writeFile("a.txt", "a");
    writeFile("PondwillowPath3.txt", (path("a.txt") + ",,three\r\n").toUtf8());
    TForm1& f = create();
    EXPECT_TRUE(f.LaunchBtn.isEmpty());
    f.MenuClick(3);
    EXPECT_EQ(f.MenuIndex, 3);
    EXPECT_TRUE(f.form().Menu3->isChecked());
    EXPECT_EQ(f.LaunchBtn.size(), 1);
    EXPECT_EQ(f.LaunchPath[3]->at(0), path("a.txt") + ",,three");
}

TEST_F(Groups, AFailedGroupSaveRaisesAndLeavesTheListAlone)
{
    writeFile("a.txt", "a");
    writeFile("PondwillowPath0.txt", (path("a.txt") + ",,one\r\n").toUtf8());
    TForm1& f = create();
    QFile::remove(path("PondwillowPath0.txt"));
    QDir(home.path()).mkdir("PondwillowPath0.txt");
    EXPECT_THROW(f.saveGroup(), pw::Error);
    EXPECT_EQ(f.LaunchPath[0]->size(), 1);
}

} // namespace
