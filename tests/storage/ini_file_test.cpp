#include "FileTestSupport.h"
#include "core/Errors.h"
#include "storage/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

using namespace Qt::StringLiterals;

namespace
{

using pw::test::readBytes;
using pw::test::writeBytes;

class IniFileTest : public pw::test::TempDirTest
{
protected:
    QString path(const QString& name = u"Pondwillow.ini"_s) const { return dir_.filePath(name); }

    // Writes the text with CR LF line ends, loads it, applies the change and
    // saves; returns the saved bytes.
    QByteArray edit(const QByteArray& before, const std::function<void(TIniFile&)>& change)
    {
        writeBytes(path(), before);
        TIniFile ini(path());
        ini.setDecimalPoint(u'.');
        change(ini);
        ini.UpdateFile();
        return readBytes(path());
    }
};

TEST_F(IniFileTest, LookupIgnoresCaseAndTakesTheFirstMatch)
{
    writeBytes(path(), "; settings of the dock\r\n"
                       "Orphan=1\r\n"
                       "[Icon]\r\n"
                       "  Size = 64  \r\n"
                       "size=99\r\n"
                       "[ icon ]\r\n"
                       "Jump=12\r\n"
                       "[Back]\r\n"
                       "ImageFile=\r\n"
                       "Color0=$FF000000\r\n"
                       "; Offset=7\r\n"
                       "# Size=5\r\n");
    const TIniFile ini(path());
    EXPECT_EQ(ini.ReadInteger(u"ICON"_s, u"SIZE"_s, 48), 64);
    // Only the first section of a name is looked at.
    EXPECT_EQ(ini.ReadInteger(u"Icon"_s, u"Jump"_s, 30), 30);
    EXPECT_EQ(ini.ReadInteger(u"back"_s, u"color0"_s, 0), -16777216);
    // Comments and keys outside any section are not keys.
    EXPECT_EQ(ini.ReadInteger(u"Back"_s, u"Offset"_s, 0), 0);
    EXPECT_EQ(ini.ReadInteger(u"Back"_s, u"# Size"_s, 0), 0);
    EXPECT_EQ(ini.ReadInteger(u""_s, u"Orphan"_s, 0), 0);
    // A present empty value is empty; only an absent key gives the default.
    EXPECT_EQ(ini.ReadString(u"Back"_s, u"ImageFile"_s, u"def"_s), u""_s);
    EXPECT_EQ(ini.ReadString(u"Back"_s, u"Image"_s, u"def"_s), u"def"_s);
    EXPECT_EQ(ini.ReadString(u"Menu"_s, u"Name0"_s, u"メニュー1"_s), u"メニュー1"_s);
}

TEST_F(IniFileTest, MissingFileGivesDefaults)
{
    const TIniFile ini(path(u"none.ini"_s));
    EXPECT_EQ(ini.ReadInteger(u"Icon"_s, u"Size"_s, 48), 48);
    EXPECT_TRUE(ini.ReadBool(u"Hint"_s, u"Show"_s, true));
    EXPECT_EQ(ini.ReadFloat(u"Back"_s, u"Opa"_s, 0.5), 0.5);
    EXPECT_FALSE(QFileInfo::exists(path(u"none.ini"_s)));
}

TEST_F(IniFileTest, TypedReadsFallBackToTheDefaultOnBadText)
{
    struct Case {
        const char* value;
        bool boolDefault;
        bool asBool;
        double asFloat; // default 0.5
    };
    const Case cases[] = {
        {"1", false, true, 1.0},     {"0", true, false, 0.0},    {"2", false, true, 2.0},
        {"-1", false, true, -1.0},   {"$FF", false, true, 0.5},  {"false", true, true, 0.5},
        {"true", false, false, 0.5}, {"", true, true, 0.5},      {"abc", false, false, 0.5},
        {" 3 ", false, true, 3.0},   {"0.25", true, true, 0.25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        writeBytes(path(), QByteArray("[Hint]\r\nShow=") + c.value + "\r\n");
        TIniFile ini(path());
        ini.setDecimalPoint(u'.');
        EXPECT_EQ(ini.ReadBool(u"Hint"_s, u"Show"_s, c.boolDefault), c.asBool);
        EXPECT_EQ(ini.ReadFloat(u"Hint"_s, u"Show"_s, 0.5), c.asFloat);
    }
}

TEST_F(IniFileTest, ReadFloatUsesTheDecimalPointAndAcceptsADot)
{
    writeBytes(path(), "[Back]\r\nOpa=0,75\r\nLength=0.25\r\n");
    TIniFile ini(path());
    ini.setDecimalPoint(u',');
    EXPECT_EQ(ini.ReadFloat(u"Back"_s, u"Opa"_s, 0.5), 0.75);
    EXPECT_EQ(ini.ReadFloat(u"Back"_s, u"Length"_s, 0.5), 0.25);
    ini.setDecimalPoint(u'.');
    EXPECT_EQ(ini.ReadFloat(u"Back"_s, u"Opa"_s, 0.5), 0.5);
}

TEST_F(IniFileTest, ValuesAreCutTo2047Characters)
{
    const QByteArray longValue(3000, 'a');
    QByteArray surrogateValue(2046, 'b');
    surrogateValue += "\xF0\x9F\x98\x80"; // one character of two UTF-16 units at 2047/2048
    writeBytes(path(), "[Back]\r\nImageFile=" + longValue + "\r\nOther=" + QByteArray(2047, 'c') +
                           "\r\nEmoji=" + surrogateValue + "\r\n");
    const TIniFile ini(path());
    EXPECT_EQ(ini.ReadString(u"Back"_s, u"ImageFile"_s, {}), QString(2047, u'a'));
    EXPECT_EQ(ini.ReadString(u"Back"_s, u"Other"_s, {}), QString(2047, u'c'));
    EXPECT_EQ(ini.ReadString(u"Back"_s, u"Emoji"_s, {}), QString(2046, u'b'));
}

TEST_F(IniFileTest, WriteReplacesTheValueInPlaceAndKeepsEveryOtherLine)
{
    const QByteArray before = "; my settings\r\n"
                              "\r\n"
                              "[Icon]\r\n"
                              "# tile size\r\n"
                              "  SIZE = 10  \r\n"
                              "junk line without equals\r\n"
                              "size=99\r\n"
                              "\r\n"
                              "[Back]\r\n"
                              "Opa=0.5\r\n";
    const QByteArray after = edit(before, [](TIniFile& ini) {
        ini.WriteInteger(u"icon"_s, u"Size"_s, 48);
        ini.WriteFloat(u"BACK"_s, u"opa"_s, 0.25);
    });
    EXPECT_EQ(after, "; my settings\r\n"
                     "\r\n"
                     "[Icon]\r\n"
                     "# tile size\r\n"
                     "SIZE=48\r\n"
                     "junk line without equals\r\n"
                     "size=99\r\n"
                     "\r\n"
                     "[Back]\r\n"
                     "Opa=0.25\r\n");
}

TEST_F(IniFileTest, NewKeyAndNewSectionPlacement)
{
    struct Case {
        const char* name;
        QByteArray before;
        QByteArray after;
    };
    const Case cases[] = {
        {"new key after the last key of its section, before the next section",
         "[Icon]\r\nSize=48\r\n; note\r\n\r\n[Form]\r\nTop=1\r\n",
         "[Icon]\r\nSize=48\r\nJump=30\r\n; note\r\n\r\n[Form]\r\nTop=1\r\n"},
        {"new key in a section without keys", "[Form]\r\n\r\n[Icon]\r\nSize=48\r\n",
         "[Form]\r\n\r\n[Icon]\r\nSize=48\r\nJump=30\r\n"},
        {"new key in the first of two sections of that name",
         "[Icon]\r\nSize=1\r\n[ICON]\r\nSize=2\r\n",
         "[Icon]\r\nSize=1\r\nJump=30\r\n[ICON]\r\nSize=2\r\n"},
        {"new section after a blank line", "[Form]\r\nTop=1\r\n",
         "[Form]\r\nTop=1\r\n\r\n[Icon]\r\nJump=30\r\n"},
        {"no second blank line", "[Form]\r\nTop=1\r\n\r\n",
         "[Form]\r\nTop=1\r\n\r\n[Icon]\r\nJump=30\r\n"},
        {"empty file", "", "[Icon]\r\nJump=30\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray after =
            edit(c.before, [](TIniFile& ini) { ini.WriteInteger(u"Icon"_s, u"Jump"_s, 30); });
        EXPECT_EQ(after, c.after);
    }
}

TEST_F(IniFileTest, WriteFormatsAndAFirstSaveInKeyOrder)
{
    {
        TIniFile ini(path());
        ini.setDecimalPoint(u'.');
        ini.WriteInteger(u"Icon"_s, u"Size"_s, 48);
        ini.WriteBool(u"Form"_s, u"Mode"_s, false);
        ini.WriteFloat(u"Refrect"_s, u"Opa"_s, double(0.3f));
        ini.WriteString(u"Menu"_s, u"Name0"_s, u"メニュー1"_s);
        ini.WriteBool(u"Form"_s, u"TaskBar"_s, true);
        ini.WriteInteger(u"Icon"_s, u"Width"_s, 48);
        ini.WriteInteger(u"Back"_s, u"Color0"_s, static_cast<std::int32_t>(0xFF000000u));
        ini.WriteString(u"Back"_s, u"ImageFile"_s, QString());
        ini.WriteString(u"Back"_s, u"Evil"_s, u"a\r\n[Icon]\r\nSize=1"_s);
        ini.UpdateFile();
    }
    EXPECT_EQ(readBytes(path()), QByteArray("[Icon]\r\nSize=48\r\nWidth=48\r\n"
                                            "\r\n[Form]\r\nMode=0\r\nTaskBar=1\r\n"
                                            "\r\n[Refrect]\r\nOpa=0.300000011920929\r\n"
                                            "\r\n[Menu]\r\nName0=") +
                                     u"メニュー1"_s.toUtf8() +
                                     "\r\n\r\n[Back]\r\nColor0=-16777216\r\nImageFile=\r\n"
                                     "Evil=a [Icon] Size=1\r\n");
    TIniFile ini(path());
    ini.setDecimalPoint(u'.');
    EXPECT_EQ(static_cast<float>(ini.ReadFloat(u"Refrect"_s, u"Opa"_s, 0)), 0.3f);
    EXPECT_EQ(ini.ReadInteger(u"Icon"_s, u"Size"_s, 0), 48);
}

TEST_F(IniFileTest, CommaDecimalPointRoundTrip)
{
    TIniFile ini(path());
    ini.setDecimalPoint(u',');
    ini.WriteFloat(u"Back"_s, u"Opa"_s, 0.5);
    EXPECT_EQ(ini.ReadFloat(u"Back"_s, u"Opa"_s, 0), 0.5);
    ini.UpdateFile();
    EXPECT_EQ(readBytes(path()), "[Back]\r\nOpa=0,5\r\n");
}

TEST_F(IniFileTest, UnicodeFilesAreSavedBackWithTheirMark)
{
    struct Case {
        const char* name;
        QByteArray bom;
        QStringConverter::Encoding encoding;
    };
    const Case cases[] = {
        {"UTF-8", "\xEF\xBB\xBF", QStringConverter::Utf8},
        {"UTF-16LE", "\xFF\xFE", QStringConverter::Utf16LE},
        {"UTF-16BE", "\xFE\xFF", QStringConverter::Utf16BE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QStringEncoder encoder(c.encoding);
        writeBytes(path(), c.bom + QByteArray(encoder(u"[Menu]\r\nName0=日本語\r\n"_s)));
        TIniFile ini(path());
        EXPECT_EQ(ini.ReadString(u"Menu"_s, u"Name0"_s, {}), u"日本語"_s);
        ini.WriteString(u"Menu"_s, u"Name1"_s, u"グループ"_s);
        ini.UpdateFile();
        EXPECT_EQ(readBytes(path()),
                  c.bom + QByteArray(encoder(u"[Menu]\r\nName0=日本語\r\nName1=グループ\r\n"_s)));
    }
}

TEST_F(IniFileTest, AnyLineBreakIsReadAndNewLinesFollowTheFile)
{
    for (const QByteArray eol : {"\r\n", "\r", "\n"}) {
        SCOPED_TRACE(eol.toHex().toStdString());
        const QByteArray before =
            "[Icon]" + eol + "Size=64" + eol + eol + "[Back]" + eol + "Size=80"; // no final break
        const QByteArray after = edit(before, [](TIniFile& ini) {
            EXPECT_EQ(ini.ReadInteger(u"Icon"_s, u"Size"_s, 0), 64);
            EXPECT_EQ(ini.ReadInteger(u"Back"_s, u"Size"_s, 0), 80);
            ini.WriteInteger(u"Icon"_s, u"Jump"_s, 30);
        });
        EXPECT_EQ(after, "[Icon]" + eol + "Size=64" + eol + "Jump=30" + eol + eol + "[Back]" + eol +
                             "Size=80" + eol);
    }
    // A new file, and one whose only line has no break, get CR LF.
    EXPECT_EQ(edit("", [](TIniFile& ini) { ini.WriteInteger(u"Icon"_s, u"Size"_s, 48); }),
              "[Icon]\r\nSize=48\r\n");
    EXPECT_EQ(edit("[Icon]", [](TIniFile& ini) { ini.WriteInteger(u"Icon"_s, u"Size"_s, 48); }),
              "[Icon]\r\nSize=48\r\n");
}

TEST_F(IniFileTest, AUtf16FileThatEndsInHalfACharacterTakesNewKeys)
{
    // "[A]", "k=v" and one stray byte: the keys written after it must read back.
    writeBytes(path(), QByteArray("\xFF\xFE[\0A\0]\0\n\0k\0=\0v\0X", 17));
    {
        TIniFile ini(path());
        ini.WriteString(u"A"_s, u"j"_s, u"1"_s);
        ini.UpdateFile();
    }
    const TIniFile again(path());
    EXPECT_EQ(again.ReadString(u"A"_s, u"j"_s, u"absent"_s), u"1"_s);
    EXPECT_TRUE(again.ReadString(u"A"_s, u"k"_s, QString()).startsWith(u"v"_s));
}

TEST_F(IniFileTest, LinesNoWriteChangesKeepTheirBytes)
{
    // Latin-1 and broken UTF-8 in a comment, an unknown section and a value
    // the dock reads but writes back unchanged; a lone CR inside a line.
    const QByteArray latin1 = "; caf\xE9\r\n[Custom]\r\nFoo=b\xE4r\rbaz\r\n";
    const QByteArray before = latin1 + "[Icon]\nSize=64\nJump=\xFF\xFE 12\n";
    const QByteArray after = edit(before, [](TIniFile& ini) {
        ini.WriteInteger(u"Icon"_s, u"Size"_s, 64);
        ini.WriteInteger(u"Icon"_s, u"GapH"_s, 4);
    });
    EXPECT_EQ(after, latin1 + "[Icon]\nSize=64\nJump=\xFF\xFE 12\nGapH=4\r\n");

    // A binary file is kept as it is, with the dock's keys after it.
    QByteArray binary(1 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7919 + (i >> 9)) & 0xFF);
    binary += "\r\n";
    const QByteArray saved =
        edit(binary, [](TIniFile& ini) { ini.WriteInteger(u"Icon"_s, u"Size"_s, 48); });
    EXPECT_TRUE(saved.startsWith(binary));
    EXPECT_LT(saved.size(), binary.size() + 100);

    // The same in UTF-16: an unpaired surrogate in an unknown line survives;
    // a new section follows a blank line.
    const QByteArray utf16 = QByteArray("\xFF\xFE", 2) + QByteArray(";\0\x00\xD8\r\0\n\0", 8);
    EXPECT_EQ(edit(utf16, [](TIniFile& ini) { ini.WriteInteger(u"A"_s, u"B"_s, 1); }),
              utf16 + QByteArray("\r\0\n\0[\0A\0]\0\r\0\n\0B\0=\0"
                                 "1\0\r\0\n\0",
                                 24));
}

TEST_F(IniFileTest, FailedSaveNamesTheFullPath)
{
    // Tests may run as root, where permissions do not stop a write: make the
    // target a directory, or put it below a regular file.
    ASSERT_TRUE(QDir(dir_.path()).mkdir(u"Pondwillow.ini"_s));
    writeBytes(path(u"plain"_s), "x");
    struct Case {
        const char* name;
        QString fileName;
        QString cwd;
        QString fullPath;
    };
    const Case cases[] = {
        {"target is a directory, given relative", u"Pondwillow.ini"_s, dir_.path(), path()},
        {"parent is a file", path(u"plain/Pondwillow.ini"_s), QString(),
         path(u"plain/Pondwillow.ini"_s)},
    };
    const QString oldCwd = QDir::currentPath();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.cwd.isEmpty()) {
            ASSERT_TRUE(QDir::setCurrent(c.cwd));
        }
        TIniFile ini(c.fileName);
        ini.WriteInteger(u"Icon"_s, u"Size"_s, 48);
        // The file's full path, then the system's reason.
        const QString expected = c.fullPath + u" に書き込めません: "_s;
        try {
            ini.UpdateFile();
            ADD_FAILURE() << "no error raised";
        } catch (const pw::Error& e) {
            EXPECT_TRUE(e.message().startsWith(expected)) << e.message().toStdString();
            EXPECT_GT(e.message().size(), expected.size() + 3) << "no reason given";
        }
        QDir::setCurrent(oldCwd);
    }
    EXPECT_EQ(entries(), (QStringList{u"Pondwillow.ini"_s, u"plain"_s}));
}

TEST_F(IniFileTest, FailedWriteLeavesTheOldFileWhole)
{
#ifdef Q_OS_UNIX
    const QByteArray before = "[Icon]\r\nSize=48\r\n";
    writeBytes(path(), before);
    TIniFile ini(path());
    ini.WriteString(u"Back"_s, u"ImageFile"_s, QString(100000, u'x'));
    {
        pw::test::FileSizeLimit limit(4096);
        EXPECT_THROW(ini.UpdateFile(), pw::Error);
    }
    EXPECT_EQ(readBytes(path()), before);
    EXPECT_EQ(entries(), QStringList{u"Pondwillow.ini"_s});
#else
    GTEST_SKIP() << "needs a file size limit";
#endif
}

} // namespace
