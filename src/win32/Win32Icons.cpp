// File icons from the shell: the file's own icon through PrivateExtractIconsW,
// the icon of its type through SHGetFileInfoW, and the pixels of an icon
// handle read back through GetIconInfo and GetDIBits.
#include <windows.h>

#include <shellapi.h>

#include "win32/Win32Icon.h"

#include <algorithm>
#include <cstddef>

namespace pw::win32
{

// The info record that SHGetFileInfoW fills: packed to 692 bytes in 32-bit
// programs, naturally aligned to 696 in 64-bit ones. Its size is passed as the
// compiler sees it, which is the size the shell of that architecture expects.
#ifdef _WIN64
static_assert(sizeof(SHFILEINFOW) == 696);
#else
static_assert(sizeof(SHFILEINFOW) == 692);
#endif

namespace
{

// A GDI bitmap that GetIconInfo hands over, deleted with this object.
class GdiBitmap
{
public:
    explicit GdiBitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
    ~GdiBitmap()
    {
        if (bitmap_ != nullptr)
            DeleteObject(bitmap_);
    }
    GdiBitmap(const GdiBitmap&) = delete;
    GdiBitmap& operator=(const GdiBitmap&) = delete;
    HBITMAP get() const { return bitmap_; }

private:
    HBITMAP bitmap_;
};

// The screen's device context, which GetDIBits needs for its conversion.
class ScreenDc
{
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc()
    {
        if (dc_ != nullptr)
            ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// The bitmap's pixels as 32-bit 0xAARRGGBB values, rows top to bottom. A
// monochrome bitmap reads as black (0x000000) and white (0xFFFFFF).
bool readPixels(HDC dc, HBITMAP bitmap, int width, int height, std::vector<std::uint32_t>* out)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    out->assign(std::size_t(width) * std::size_t(height), 0);
    return GetDIBits(dc, bitmap, 0, UINT(height), out->data(), &info, DIB_RGB_COLORS) == height;
}

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;
constexpr std::uint32_t kOpaque = 0xFF000000;

} // namespace

std::optional<IconPixels> iconPixels(HICON icon)
{
    if (icon == nullptr)
        return std::nullopt;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return std::nullopt;
    const GdiBitmap color(info.hbmColor);
    const GdiBitmap mask(info.hbmMask);
    if (mask.get() == nullptr)
        return std::nullopt;

    // A monochrome icon has no colour bitmap: its mask is twice as high, the
    // AND mask above the XOR mask.
    BITMAP size{};
    if (!GetObjectW(color.get() != nullptr ? color.get() : mask.get(), sizeof size, &size))
        return std::nullopt;
    const int width = size.bmWidth;
    const int height = color.get() != nullptr ? size.bmHeight : size.bmHeight / 2;
    if (width <= 0 || height <= 0)
        return std::nullopt;

    const ScreenDc dc;
    std::vector<std::uint32_t> maskBits;
    if (!readPixels(dc.get(), mask.get(), width, color.get() != nullptr ? height : 2 * height,
                    &maskBits))
        return std::nullopt;
    // A set bit of the AND mask lets the background through.
    const auto transparentAt = [&maskBits](std::size_t i) { return (maskBits[i] & kRgbMask) != 0; };

    IconPixels out;
    out.width = width;
    out.height = height;
    const std::size_t count = std::size_t(width) * std::size_t(height);
    if (color.get() != nullptr) {
        if (!readPixels(dc.get(), color.get(), width, height, &out.argb))
            return std::nullopt;
        const bool hasAlpha = std::any_of(out.argb.begin(), out.argb.end(),
                                          [](std::uint32_t p) { return (p & kOpaque) != 0; });
        if (!hasAlpha) {
            for (std::size_t i = 0; i < count; ++i)
                out.argb[i] = transparentAt(i) ? 0 : (out.argb[i] | kOpaque);
        }
    } else {
        // Pixels that invert the background cannot be shown in a picture;
        // they are left transparent with the rest of the background.
        out.argb.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            out.argb[i] = transparentAt(i) ? 0 : (maskBits[count + i] & kRgbMask) | kOpaque;
    }
    return out;
}

std::optional<IconPixels> extractFileIcon(const std::wstring& path, int size)
{
    if (size < 1 || path.empty())
        return std::nullopt;
    const std::wstring native = nativeSeparators(path);
    HICON received = nullptr;
    UINT id = 0;
    // Icon index 0 at exactly size x size, read from the file itself; any
    // count but 1 means that no icon came out.
    const UINT count =
        PrivateExtractIconsW(native.c_str(), 0, size, size, &received, &id, 1, LR_LOADFROMFILE);
    const UniqueIcon icon(received);
    if (count != 1)
        return std::nullopt;
    return iconPixels(icon.get());
}

std::optional<IconPixels> fileTypeIcon(const std::wstring& path)
{
    const std::wstring native = nativeSeparators(path);
    SHFILEINFOW info{};
    // With SHGFI_USEFILEATTRIBUTES the shell goes by the name and the given
    // attributes (none: a plain file) and does not look at the file.
    SHGetFileInfoW(native.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES);
    const UniqueIcon icon(info.hIcon);
    return iconPixels(icon.get());
}

} // namespace pw::win32
