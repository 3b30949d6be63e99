// Group files without a byte-order mark are in the ANSI code page: on a
// Japanese system code page 932 (Shift-JIS), elsewhere mostly 1252.
#include <windows.h>

#include "win32/Win32.h"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>

namespace
{

using pw::win32::decodeCodePage;
using pw::win32::encodeCodePage;

struct CodePageCase {
    const char* name;
    unsigned codePage;
    std::wstring text;
    std::string bytes;
};

class CodePageRoundTrip : public ::testing::TestWithParam<CodePageCase>
{
};

TEST_P(CodePageRoundTrip, EncodesToTheCodePagesBytesAndBack)
{
    const CodePageCase& c = GetParam();
    EXPECT_EQ(encodeCodePage(c.text, c.codePage), c.bytes);
    EXPECT_EQ(decodeCodePage(c.bytes, c.codePage), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Text, CodePageRoundTrip,
    ::testing::Values(
        // An entry line of a Japanese system: the second bytes of ツ (83 63)
        // and of ー (81 5B) look like ASCII letters and brackets, so a
        // byte-wise conversion would go wrong.
        CodePageCase{
            "ShiftJis", 932, L"C:\\ツール\\起動.exe,-v,ヒント",
            "C:\\\x83\x63\x81\x5B\x83\x8B\\\x8B\x4E\x93\xAE.exe,-v,\x83\x71\x83\x93\x83\x67"},
        CodePageCase{"WesternEuropean", 1252, L"Café ñ,C:\\Temp", "Caf\xE9 \xF1,C:\\Temp"},
        CodePageCase{"Empty", 932, L"", ""}),
    [](const ::testing::TestParamInfo<CodePageCase>& info) {
        return std::string(info.param.name);
    });

TEST(Text, ActiveCodePageIsTheSystemsAnsiCodePage)
{
    // The system's ANSI code page, whichever it is here, is what the default
    // argument converts with.
    const std::string bytes = "plain ASCII, C:\\Tools\\app.exe \x41\x7E";
    const unsigned acp = GetACP();
    EXPECT_EQ(decodeCodePage(bytes), decodeCodePage(bytes, acp));
    const std::wstring text = decodeCodePage(bytes);
    EXPECT_EQ(text, L"plain ASCII, C:\\Tools\\app.exe A~");
    EXPECT_EQ(encodeCodePage(text), bytes);
}

TEST(Text, CharactersTheCodePageLacksBecomeItsDefaultCharacter)
{
    EXPECT_EQ(encodeCodePage(L"aツb", 1252), "a?b");
    // Best fit: a character the code page lacks written as a look-alike, with
    // nothing to tell that it was lost.
    EXPECT_EQ(encodeCodePage(L"\u0101", 1252), "a");
}

// Whether text fits a code page: the settings and group files turn Unicode
// when it does not.
struct ExactCase {
    const char* name;
    unsigned codePage;
    std::wstring text;
    std::optional<std::string> bytes; // nullopt: does not fit

    friend void PrintTo(const ExactCase& c, std::ostream* os) { *os << c.name; }
};

class EncodeExactly : public ::testing::TestWithParam<ExactCase>
{
};

TEST_P(EncodeExactly, GivesTheBytesOnlyWhenEveryCharacterFits)
{
    const ExactCase& c = GetParam();
    EXPECT_EQ(pw::win32::encodeCodePageExactly(c.text, c.codePage), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Text, EncodeExactly,
    ::testing::Values(
        ExactCase{"GermanIn1252", 1252, L"Grüße €",
                  "Gr\xFC\xDF"
                  "e \x80"},
        ExactCase{"JapaneseIn1252", 1252, L"メニュー1", std::nullopt},
        ExactCase{"JapaneseAfterLatinIn1252", 1252, L"C:\\Grüße\\メモ.txt", std::nullopt},
        // Best-fit characters: a with macron, full-width A, infinity.
        ExactCase{"MacronIn1252", 1252, L"G\u0101te", std::nullopt},
        ExactCase{"FullWidthIn1252", 1252, L"\uFF21", std::nullopt},
        ExactCase{"InfinityIn1252", 1252, L"\u221E", std::nullopt},
        ExactCase{"UnpairedSurrogateIn1252", 1252, std::wstring(1, wchar_t(0xD800)), std::nullopt},
        ExactCase{"EmojiIn1252", 1252, L"\U0001F600", std::nullopt},
        ExactCase{"EmptyIn1252", 1252, L"", ""},
        ExactCase{"JapaneseIn932", 932, L"メニュー1",
                  "\x83\x81\x83\x6A\x83\x85\x81\x5B"
                  "1"},
        ExactCase{"UmlautIn932", 932, L"Grüße", std::nullopt},
        ExactCase{"JapaneseInUtf8", CP_UTF8, L"メニュー1",
                  "\xE3\x83\xA1\xE3\x83\x8B\xE3\x83\xA5\xE3\x83\xBC"
                  "1"},
        // UTF-8 takes any text, an unpaired surrogate as U+FFFD.
        ExactCase{"UnpairedSurrogateInUtf8", CP_UTF8, std::wstring(1, wchar_t(0xD800)),
                  "\xEF\xBF\xBD"},
        // UTF-7 takes no flags: the text is checked by reading it back.
        ExactCase{"JapaneseInUtf7", CP_UTF7, L"メニュー1", "+MOEwyzDlMPw-1"}),
    [](const ::testing::TestParamInfo<ExactCase>& info) { return std::string(info.param.name); });

TEST(Text, EncodeExactlyUsesTheActiveCodePageByDefault)
{
    // Under Wine the active code page follows the locale Wine runs in: 1252
    // for the C locale and for English or German ones, 932 for Japanese.
    const unsigned acp = GetACP();
    for (const std::wstring text : {L"Grüße", L"メニュー1", L"plain"}) {
        EXPECT_EQ(pw::win32::encodeCodePageExactly(text),
                  pw::win32::encodeCodePageExactly(text, acp));
    }
}

// The display language decides the language of the program's texts; the
// program reads its language code, the letters before the first "-".
TEST(Text, UserUiLanguageIsALocaleNameWithItsLanguageFirst)
{
    const std::wstring name = pw::win32::userUiLanguage();
    const std::size_t dash = name.find(L'-');
    ASSERT_NE(dash, std::wstring::npos) << "no region in the name";
    EXPECT_GE(dash, 2u);
    EXPECT_LE(dash, 3u);
    for (std::size_t i = 0; i < dash; ++i)
        EXPECT_TRUE(name[i] >= L'a' && name[i] <= L'z') << "not a language code";
}

} // namespace
