// File icons through the shell, and icon handles turned into pixels.
#include <windows.h>

#include "TestSupport.h"
#include "win32/Win32Icon.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

using pw::win32::IconPixels;
using pw::win32::test::IcoImage;
using pw::win32::test::TempDir;

std::uint32_t at(const IconPixels& icon, int x, int y)
{
    return icon.argb[std::size_t(y) * std::size_t(icon.width) + std::size_t(x)];
}

std::uint32_t alpha(std::uint32_t pixel)
{
    return pixel >> 24;
}

// Whether the picture has both see-through and solid parts, as every real
// icon has: a picture read without its alpha or mask is solid throughout.
bool hasTransparentAndOpaquePixels(const IconPixels& icon)
{
    const bool transparent = std::any_of(icon.argb.begin(), icon.argb.end(),
                                         [](std::uint32_t p) { return alpha(p) == 0; });
    const bool opaque = std::any_of(icon.argb.begin(), icon.argb.end(),
                                    [](std::uint32_t p) { return alpha(p) == 0xFF; });
    return transparent && opaque;
}

// The icons of the file tests: four regions that differ from each other, so
// that a picture read upside down, mirrored or with its colour channels in
// another order shows it.
//   left half, top:     opaque red
//   left half, bottom:  opaque yellow
//   right half, top:    blue at half alpha (32-bit icons with alpha only)
//   right half, bottom: transparent
struct Probe {
    int x;
    int y;
    std::uint32_t expected;
};

struct IconFileCase {
    const char* name;
    int bitsPerPixel;
    bool withAlpha; // the 32-bit picture carries alpha; else only the mask does
    Probe probes[4];
};

IcoImage quadrants(const IconFileCase& c)
{
    IcoImage image;
    image.size = 32;
    image.bitsPerPixel = c.bitsPerPixel;
    const bool alpha = c.withAlpha;
    image.pixel = [alpha](int x, int y) -> std::uint32_t {
        if (x < 16)
            return (y < 16 ? 0x00FF0000u : 0x00FFFF00u) | (alpha ? 0xFF000000u : 0);
        if (y < 16)
            return alpha ? 0x800000FFu : 0x000000FFu;
        return 0;
    };
    // With alpha the mask is ignored; an editor still writes it, set where
    // the picture is not opaque.
    image.transparent = [alpha](int x, int y) { return x >= 16 && (alpha ? y >= 16 : true); };
    return image;
}

class IconFile : public ::testing::TestWithParam<IconFileCase>
{
protected:
    TempDir dir;
};

TEST_P(IconFile, PixelsKeepColoursOrientationAndTransparency)
{
    const IconFileCase& c = GetParam();
    const std::wstring path = dir.file(L"アイコン.ico");
    pw::win32::test::writeFile(path, pw::win32::test::icoFile(quadrants(c)));

    const std::optional<IconPixels> icon = pw::win32::extractFileIcon(path, 32);
    ASSERT_TRUE(icon);
    ASSERT_EQ(icon->width, 32);
    ASSERT_EQ(icon->height, 32);
    ASSERT_EQ(icon->argb.size(), 32u * 32u);
    for (const Probe& p : c.probes) {
        SCOPED_TRACE(testing::Message() << "pixel " << p.x << "," << p.y);
        if (alpha(p.expected) == 0)
            EXPECT_EQ(alpha(at(*icon, p.x, p.y)), 0u);
        else
            EXPECT_EQ(at(*icon, p.x, p.y), p.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Icons, IconFile,
    ::testing::Values(
        IconFileCase{"AlphaChannel",
                     32,
                     true,
                     {{4, 4, 0xFFFF0000}, {4, 28, 0xFFFFFF00}, {28, 4, 0x800000FF}, {28, 28, 0}}},
        // 32-bit pictures whose alpha is all zero are drawn with their mask.
        IconFileCase{"ZeroAlphaUsesMask",
                     32,
                     false,
                     {{4, 4, 0xFFFF0000}, {4, 28, 0xFFFFFF00}, {28, 4, 0}, {28, 28, 0}}},
        IconFileCase{"TrueColourWithMask",
                     24,
                     false,
                     {{4, 4, 0xFFFF0000}, {4, 28, 0xFFFFFF00}, {28, 4, 0}, {28, 28, 0}}}),
    [](const ::testing::TestParamInfo<IconFileCase>& info) {
        return std::string(info.param.name);
    });

TEST(Icons, FileIconComesAtTheRequestedSize)
{
    TempDir dir;
    const std::wstring path = dir.file(L"large.ico");
    pw::win32::test::writeFile(path, pw::win32::test::icoFile(quadrants({"", 32, true, {}})));

    const std::optional<IconPixels> icon = pw::win32::extractFileIcon(path, 48);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width, 48);
    EXPECT_EQ(icon->height, 48);
    EXPECT_EQ(at(*icon, 6, 6), 0xFFFF0000u);
    EXPECT_EQ(alpha(at(*icon, 42, 42)), 0u);
}

TEST(Icons, ProgramsIconIsExtractedFromTheProgramItself)
{
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    // Forward slashes, as a drop may deliver them, reach the shell as "\".
    std::wstring notepad = std::wstring(system) + L"/notepad.exe";

    const std::optional<IconPixels> icon = pw::win32::extractFileIcon(notepad, 32);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    EXPECT_TRUE(hasTransparentAndOpaquePixels(*icon));
}

TEST(Icons, FilesWithoutIconsOfTheirOwnGiveNone)
{
    TempDir dir;
    const std::wstring document = dir.file(L"letter.txt");
    pw::win32::test::writeFile(document, "Dear reader");
    // The probe program of the launch tests has no icon resources.
    const std::wstring plainProgram = pw::win32::test::programDirectory() + L"\\pw_win32_probe.exe";
    ASSERT_NE(GetFileAttributesW(plainProgram.c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_FALSE(pw::win32::extractFileIcon(document, 32));
    EXPECT_FALSE(pw::win32::extractFileIcon(plainProgram, 32));
    EXPECT_FALSE(pw::win32::extractFileIcon(dir.file(L"missing.exe"), 32));
    EXPECT_FALSE(pw::win32::extractFileIcon(L"", 32));
}

TEST(Icons, DocumentTypeIconComesFromTheNameAlone)
{
    // The file does not exist: the shell goes by its name.
    const std::optional<IconPixels> icon = pw::win32::fileTypeIcon(L"C:\\nowhere\\letter.txt");
    ASSERT_TRUE(icon);
    EXPECT_GT(icon->width, 0);
    EXPECT_EQ(icon->width, icon->height);
    EXPECT_EQ(icon->argb.size(), std::size_t(icon->width) * std::size_t(icon->height));
    EXPECT_TRUE(hasTransparentAndOpaquePixels(*icon));

    const std::optional<IconPixels> slashed = pw::win32::fileTypeIcon(L"C:/nowhere/letter.txt");
    ASSERT_TRUE(slashed);
    EXPECT_EQ(slashed->argb, icon->argb);
}

// A monochrome icon: no colour bitmap, and a mask of twice the height that
// holds the AND mask above the XOR mask.
HICON monochromeIcon()
{
    // 16 x 16: AND rows (2 bytes each, padded to words), then XOR rows. The
    // left half is see-through; the right half is black above, white below.
    BYTE andRows[16 * 2];
    BYTE xorRows[16 * 2];
    for (int y = 0; y < 16; ++y) {
        andRows[y * 2] = 0xFF;
        andRows[y * 2 + 1] = 0x00;
        xorRows[y * 2] = 0x00;
        xorRows[y * 2 + 1] = y < 8 ? 0x00 : 0xFF;
    }
    return CreateIcon(GetModuleHandleW(nullptr), 16, 16, 1, 1, andRows, xorRows);
}

TEST(Icons, MonochromeIconsAreReadFromTheirMask)
{
    const pw::win32::UniqueIcon icon(monochromeIcon());
    ASSERT_TRUE(icon);
    const std::optional<IconPixels> pixels = pw::win32::iconPixels(icon.get());
    ASSERT_TRUE(pixels);
    ASSERT_EQ(pixels->width, 16);
    ASSERT_EQ(pixels->height, 16);
    EXPECT_EQ(alpha(at(*pixels, 2, 2)), 0u);
    EXPECT_EQ(alpha(at(*pixels, 2, 12)), 0u);
    EXPECT_EQ(at(*pixels, 12, 2), 0xFF000000u);
    EXPECT_EQ(at(*pixels, 12, 12), 0xFFFFFFFFu);
}

bool isLiveIcon(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

TEST(Icons, UniqueIconDestroysTheIconItHolds)
{
    const HICON first = monochromeIcon();
    const HICON second = monochromeIcon();
    ASSERT_TRUE(isLiveIcon(first));
    ASSERT_TRUE(isLiveIcon(second));
    {
        pw::win32::UniqueIcon owner(first);
        pw::win32::UniqueIcon moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(moved.get(), first);
        // Moving leaves one owner: the icon lives until that one lets it go.
        EXPECT_TRUE(isLiveIcon(first));
        moved.reset(second);
        EXPECT_FALSE(isLiveIcon(first));
        EXPECT_TRUE(isLiveIcon(second));
    }
    EXPECT_FALSE(isLiveIcon(second));
}

} // namespace
