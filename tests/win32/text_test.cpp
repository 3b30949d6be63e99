// Group files without a byte-order mark are in the ANSI code page: on a
// Japanese system code page 932 (Shift-JIS), elsewhere mostly 1252.
#include <windows.h>

#include "win32/Win32.h"

#include <gtest/gtest.h>

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
}

} // namespace
