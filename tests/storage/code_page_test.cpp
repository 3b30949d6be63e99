// Text that the ANSI code page cannot hold: with Windows-1252 as the ANSI
// encoding, as on an English or German Windows, a settings file or a group
// file that would lose characters is written in Unicode instead, and files
// whose text fits stay as they were.
#include "FileTestSupport.h"
#include "storage/IniFile.h"
#include "storage/StringList.h"
#include "storage/TextCodec.h"

#include <QStringEncoder>
#include <gtest/gtest.h>
#include <optional>

using namespace Qt::StringLiterals;

namespace
{

using pw::platform::TextEncoding;
using pw::test::readBytes;
using pw::test::writeBytes;

const QByteArray kUtf8Mark = "\xEF\xBB\xBF";

QByteArray utf16le(const QString& text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE", 2) + QByteArray(encoder(text));
}

QByteArray utf8WithMark(const QString& text)
{
    return kUtf8Mark + text.toUtf8();
}

class NarrowCodePageTest : public pw::test::TempDirTest
{
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        pw::platform::useWindows1252AsAnsiForTesting(true);
    }
    void TearDown() override { pw::platform::useWindows1252AsAnsiForTesting(false); }

    QString path(const QString& name) const { return dir_.filePath(name); }
};

TEST_F(NarrowCodePageTest, AnsiIsWindows1252)
{
    // Every byte reads as one character and is written back as it was.
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = pw::platform::decodeAnsi(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(pw::platform::encodeAnsiExactly(text), all);
    EXPECT_EQ(text.mid(0x80, 2), u"€\u0081"_s);
    EXPECT_EQ(text.mid(0x9F, 2), u"Ÿ\u00A0"_s);

    EXPECT_EQ(pw::platform::encodeAnsiExactly(u"Grüße €"_s), "Gr\xFC\xDF"
                                                             "e \x80");
    for (const QString& lacking : {u"メニュー1"_s, u"ā"_s, u"\u0080"_s, u"😀"_s, u"\xD800"_s}) {
        SCOPED_TRACE(lacking.toStdString());
        EXPECT_EQ(pw::platform::encodeAnsiExactly(lacking), std::nullopt);
    }
    EXPECT_EQ(pw::platform::encodeAnsi(u"aメb"_s), "a?b");
}

TEST_F(NarrowCodePageTest, SettingsFileTurnsUtf16OnlyForTextTheCodePageLacks)
{
    struct Case {
        const char* name;
        std::optional<QByteArray> before; // nullopt: no file yet
        QString value;                    // written to [Menu] Name0
        QByteArray after;
    };
    // Lines the dock does not know, with Windows-1252 letters, a lone CR and a
    // lone LF as line breaks, and a last line without a break.
    const QByteArray unknownAnsi = "; Einstellungen f\xFCr caf\xE9\r\n"
                                   "[Custom]\n"
                                   "Foo=b\xE4r\rbaz\r\n"
                                   "[Menu]\r\n"
                                   "Name0=Alt\r\n"
                                   "[Other]\r\n"
                                   "Key=\x80 5";
    const QString unknownText = u"; Einstellungen für café\r\n"
                                u"[Custom]\n"
                                u"Foo=bär\rbaz\r\n"
                                u"[Menu]\r\n"
                                u"Name0=%1\r\n"
                                u"[Other]\r\n"
                                u"Key=€ 5\r\n"_s;
    const Case cases[] = {
        {"text that fits stays in the code page, byte for byte", unknownAnsi, u"Grüße €"_s,
         "; Einstellungen f\xFCr caf\xE9\r\n"
         "[Custom]\n"
         "Foo=b\xE4r\rbaz\r\n"
         "[Menu]\r\n"
         "Name0=Gr\xFC\xDF"
         "e \x80\r\n"
         "[Other]\r\n"
         "Key=\x80 5\r\n"},
        {"a new file whose text fits", std::nullopt, u"Grüße"_s,
         "[Menu]\r\nName0=Gr\xFC\xDF"
         "e\r\n"},
        {"Japanese turns every line to UTF-16", unknownAnsi, u"メニュー1"_s,
         utf16le(unknownText.arg(u"メニュー1"_s))},
        {"a character best fit would turn into a look-alike", unknownAnsi, u"Gāte"_s,
         utf16le(unknownText.arg(u"Gāte"_s))},
        {"Japanese in a new file", std::nullopt, u"メニュー1"_s,
         utf16le(u"[Menu]\r\nName0=メニュー1\r\n"_s)},
        {"a UTF-8 file stays UTF-8", utf8WithMark(u"[Menu]\r\nName0=Alt\r\n"_s), u"メニュー1"_s,
         utf8WithMark(u"[Menu]\r\nName0=メニュー1\r\n"_s)},
        {"a UTF-16 file stays UTF-16 for text that fits",
         utf16le(u"; メモ\r\n[Menu]\r\nName0=メニュー1\r\n"_s), u"Menu 1"_s,
         utf16le(u"; メモ\r\n[Menu]\r\nName0=Menu 1\r\n"_s)},
    };
    const QString file = path(u"Pondwillow.ini"_s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file);
        if (c.before)
            writeBytes(file, *c.before);
        {
            TIniFile ini(file);
            ini.WriteString(u"Menu"_s, u"Name0"_s, c.value);
            ini.UpdateFile();
        }
        const QByteArray after = readBytes(file);
        EXPECT_EQ(after, c.after);

        // Read back by the next start, and saved again with one more key:
        // the file keeps its encoding and every other byte.
        {
            TIniFile ini(file);
            EXPECT_EQ(ini.ReadString(u"Menu"_s, u"Name0"_s, {}), c.value);
            ini.WriteString(u"Menu"_s, u"Name1"_s, u"Gruppe 2"_s);
            ini.UpdateFile();
        }
        TextEncoding encoding{};
        QString text = pw::platform::decodeText(after, &encoding);
        text.replace(u"Name0="_s + c.value + u"\r\n"_s,
                     u"Name0="_s + c.value + u"\r\nName1=Gruppe 2\r\n"_s);
        EXPECT_EQ(readBytes(file), pw::platform::encodeText(text, encoding));
        const TIniFile again(file);
        EXPECT_EQ(again.ReadString(u"Menu"_s, u"Name0"_s, {}), c.value);
        EXPECT_EQ(again.ReadString(u"Menu"_s, u"Name1"_s, {}), u"Gruppe 2"_s);
    }
}

TEST_F(NarrowCodePageTest, SettingsFileStaysUtf16WhenTheSameObjectSavesAgain)
{
    const QString file = path(u"Pondwillow.ini"_s);
    writeBytes(file, "; caf\xE9\n[Menu]\nName0=Alt\n");
    TIniFile ini(file);
    ini.WriteString(u"Menu"_s, u"Name0"_s, u"メニュー1"_s);
    ini.UpdateFile();
    ini.WriteString(u"Menu"_s, u"Name0"_s, u"Alt"_s);
    ini.WriteString(u"Menu"_s, u"Name1"_s, u"Gruppe 2"_s);
    ini.UpdateFile();
    EXPECT_EQ(readBytes(file), utf16le(u"; café\n[Menu]\nName0=Alt\nName1=Gruppe 2\n"_s));
}

TEST_F(NarrowCodePageTest, GroupFileTurnsUtf8OnlyForTextTheCodePageLacks)
{
    struct Case {
        const char* name;
        std::optional<QByteArray> before; // nullopt: no file yet
        TStringList lines;
        QByteArray after;
    };
    const Case cases[] = {
        {"text that fits stays in the code page, byte for byte",
         "C:\\old.exe,,\r\n",
         {u"C:\\Programme\\Grüße.exe,-v,Grüße €"_s, u""_s},
         "C:\\Programme\\Gr\xFC\xDF"
         "e.exe,-v,Gr\xFC\xDF"
         "e \x80\r\n\r\n"},
        {"Japanese makes the file UTF-8 with its mark",
         "C:\\old.exe,,\r\n",
         {u"C:\\ツール\\起動.exe,,ヒント"_s, u"C:\\Grüße.exe,,"_s},
         utf8WithMark(u"C:\\ツール\\起動.exe,,ヒント\r\nC:\\Grüße.exe,,\r\n"_s)},
        {"a character best fit would turn into a look-alike",
         std::nullopt,
         {u"C:\\Ｔｏｏｌ.exe,,"_s},
         utf8WithMark(u"C:\\Ｔｏｏｌ.exe,,\r\n"_s)},
        // Each save chooses anew, as an earlier version wrote a file with a
        // mark: in the code page when the text fits.
        {"a file with a mark whose text fits is written in the code page",
         utf8WithMark(u"C:\\ツール.exe,,\r\n"_s),
         {u"C:\\Grüße.exe,,"_s},
         "C:\\Gr\xFC\xDF"
         "e.exe,,\r\n"},
        {"a UTF-16 file with Japanese is written in UTF-8",
         utf16le(u"C:\\ツール.exe,,\r\n"_s),
         {u"C:\\a.exe,,"_s, u"C:\\メモ.txt,,"_s},
         utf8WithMark(u"C:\\a.exe,,\r\nC:\\メモ.txt,,\r\n"_s)},
    };
    const QString file = path(u"PondwillowPath0.txt"_s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file);
        if (c.before)
            writeBytes(file, *c.before);
        c.lines.SaveToFile(file);
        EXPECT_EQ(readBytes(file), c.after);

        // The next start reads the same lines, and saving them again, as the
        // dock does from a list of its own, writes the same bytes.
        TStringList back;
        ASSERT_TRUE(back.LoadFromFile(file));
        EXPECT_EQ(back, c.lines);
        TStringList(back).SaveToFile(file);
        EXPECT_EQ(readBytes(file), c.after);
    }
}

// Linux's ANSI encoding is UTF-8: it holds every character, so no file gets a
// mark it did not have, whatever is written.
class Utf8CodePageTest : public pw::test::TempDirTest
{
};

TEST_F(Utf8CodePageTest, NothingTurnsUnicode)
{
    struct Case {
        const char* name;
        QString value;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"Japanese", u"メニュー1"_s, u"メニュー1"_s.toUtf8()},
        {"an unpaired surrogate", u"a\xD800z"_s, u"a\xD800z"_s.toUtf8()},
    };
    const QString ini = dir_.filePath(u"Pondwillow.ini"_s);
    const QString group = dir_.filePath(u"PondwillowPath0.txt"_s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(ini, "[Menu]\r\nName0=Alt\r\n");
        {
            TIniFile file(ini);
            file.WriteString(u"Menu"_s, u"Name0"_s, c.value);
            file.UpdateFile();
        }
        EXPECT_EQ(readBytes(ini), "[Menu]\r\nName0=" + c.bytes + "\r\n");

        TStringList{c.value}.SaveToFile(group);
        EXPECT_EQ(readBytes(group), c.bytes + "\r\n");
    }
}

} // namespace
