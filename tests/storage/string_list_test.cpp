#include "FileTestSupport.h"
#include "core/Errors.h"
#include "storage/StringList.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;

namespace
{

using pw::test::readBytes;
using pw::test::writeBytes;

QByteArray encoded(QStringConverter::Encoding encoding, const QString& text)
{
    QStringEncoder encoder(encoding);
    return encoder(text);
}

class StringListTest : public pw::test::TempDirTest
{
protected:
    QString path(const QString& name = u"PondwillowPath0.txt"_s) const
    {
        return dir_.filePath(name);
    }
};

TEST_F(StringListTest, LoadSplitsLinesAtAnyBreak)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    };
    const Case cases[] = {
        {"CR LF", "a,b,\r\nc,,\r\n", {u"a,b,"_s, u"c,,"_s}},
        {"CR", "a,b,\rc,,\r", {u"a,b,"_s, u"c,,"_s}},
        {"LF", "a,b,\nc,,\n", {u"a,b,"_s, u"c,,"_s}},
        {"no final break", "a,b,\r\nc,,", {u"a,b,"_s, u"c,,"_s}},
        {"two breaks make an empty line", "a\r\n\r\nb\r\n", {u"a"_s, u""_s, u"b"_s}},
        {"LF then CR LF", "a\n\r\nb", {u"a"_s, u""_s, u"b"_s}},
        {"LF then CR", "a\n\rb", {u"a"_s, u""_s, u"b"_s}},
        {"a break alone", "\r\n", {u""_s}},
        {"empty file", "", {}},
        {"spaces kept", " a \t\r\n", {u" a \t"_s}},
        {"UTF-8 mark",
         "\xEF\xBB\xBF" + u"C:\\メモ.txt,,\r\nx"_s.toUtf8(),
         {u"C:\\メモ.txt,,"_s, u"x"_s}},
        {"UTF-8 mark alone", "\xEF\xBB\xBF", {}},
        {"UTF-16LE mark",
         "\xFF\xFE" + encoded(QStringConverter::Utf16LE, u"C:\\メモ.txt,,\r\nx\n"_s),
         {u"C:\\メモ.txt,,"_s, u"x"_s}},
        {"UTF-16BE mark",
         "\xFE\xFF" + encoded(QStringConverter::Utf16BE, u"C:\\メモ.txt,,\ry"_s),
         {u"C:\\メモ.txt,,"_s, u"y"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(), c.bytes);
        TStringList list{u"stale"_s};
        EXPECT_TRUE(list.LoadFromFile(path()));
        EXPECT_EQ(list, c.lines);
    }
}

TEST_F(StringListTest, LoadOfAMissingFileOrADirectoryFails)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir(u"folder"_s));
    for (const QString& name : {u"missing.txt"_s, u"folder"_s}) {
        SCOPED_TRACE(name.toStdString());
        TStringList list{u"stale"_s};
        EXPECT_FALSE(list.LoadFromFile(path(name)));
        EXPECT_TRUE(list.isEmpty());
    }
    EXPECT_EQ(entries(), QStringList{u"folder"_s});
}

TEST_F(StringListTest, SaveEndsEveryLineWithCrLfWithoutAMark)
{
    struct Case {
        const char* name;
        TStringList lines;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"lines",
         {u"C:\\a.exe,,"_s, u""_s, u"C:\\b.exe,-x,Tool"_s},
         "C:\\a.exe,,\r\n\r\nC:\\b.exe,-x,Tool\r\n"},
        {"one empty line", {u""_s}, "\r\n"},
        {"no lines", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(path(), "an older and much longer content\r\nthat must go\r\n");
        c.lines.SaveToFile(path());
        EXPECT_EQ(readBytes(path()), c.bytes);
        TStringList back;
        EXPECT_TRUE(back.LoadFromFile(path()));
        EXPECT_EQ(back, c.lines);
    }
    EXPECT_EQ(entries(), QStringList{u"PondwillowPath0.txt"_s});
}

TEST_F(StringListTest, SaveOfAnEmptyListCreatesAZeroByteFile)
{
    TStringList().SaveToFile(path());
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_EQ(QFile(path()).size(), 0);
}

TEST_F(StringListTest, FailedSaveRaisesAnErrorNamingTheFile)
{
    writeBytes(path(u"plain"_s), "x");
    ASSERT_TRUE(QDir(dir_.path()).mkdir(u"PondwillowPath1.txt"_s));
    const TStringList list{u"a,,"_s};
    for (const QString& target :
         {path(u"plain/PondwillowPath0.txt"_s), path(u"PondwillowPath1.txt"_s)}) {
        SCOPED_TRACE(target.toStdString());
        try {
            list.SaveToFile(target);
            ADD_FAILURE() << "no error raised";
        } catch (const pw::Error& e) {
            EXPECT_TRUE(e.message().startsWith(u"ファイル "_s + target + u" を作成できません: "_s))
                << e.message().toStdString();
        }
    }
    EXPECT_EQ(list, QStringList{u"a,,"_s});
    EXPECT_EQ(readBytes(path(u"plain"_s)), "x");
    EXPECT_EQ(entries(), (QStringList{u"PondwillowPath1.txt"_s, u"plain"_s}));
}

TEST_F(StringListTest, FailedWriteLeavesTheOldFileWhole)
{
#ifdef Q_OS_UNIX
    const QByteArray before = "C:\\a.exe,,\r\nC:\\b.exe,,\r\n";
    writeBytes(path(), before);
    TStringList list;
    for (int i = 0; i < 2000; ++i)
        list.append(u"C:\\Program Files\\Tool %1\\tool.exe,--verbose,Tool"_s.arg(i));
    {
        pw::test::FileSizeLimit limit(4096);
        EXPECT_THROW(list.SaveToFile(path()), pw::Error);
    }
    EXPECT_EQ(readBytes(path()), before);
    EXPECT_EQ(entries(), QStringList{u"PondwillowPath0.txt"_s});
#else
    GTEST_SKIP() << "needs a file size limit";
#endif
}

TEST_F(StringListTest, TextThatBeginsWithAByteOrderMarkCharacterKeepsIt)
{
    // Only the file's own mark is taken off; a second one is text.
    const QString text = u"\uFEFFA"_s;
    for (const QByteArray& bytes : {QByteArray("\xFE\xFF\xFE\xFF\0A", 6),
                                    QByteArray("\xFF\xFE\xFF\xFE"
                                               "A\0",
                                               6),
                                    QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                               "A")}) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        EXPECT_EQ(pw::platform::decodeText(bytes), text);
    }
}

} // namespace
