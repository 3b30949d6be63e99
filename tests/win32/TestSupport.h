#pragma once

// Helpers of the Win32 adapter tests: temporary directories in the Wine
// prefix (or on Windows), files, and icon files made from a pixel function.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace pw::win32::test
{

// A new empty directory under the system's temporary directory, whose name
// carries a space and Japanese letters; removed with everything in it.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// A window of the calling thread, of a class named className with the window
// procedure proc (registered on first use). parent HWND_MESSAGE makes a
// message-only window. nullptr when the system refuses the window.
struct WindowOptions {
    const wchar_t* className;
    WNDPROC proc;
    DWORD exStyle = 0;
    DWORD style = 0;
    HWND parent = nullptr;
};
HWND createWindow(const WindowOptions& options);

// The directory of the running test program, without a final separator.
std::wstring programDirectory();

void writeFile(const std::wstring& path, const std::string& bytes);
// The whole file; empty when it cannot be read.
std::string readFile(const std::wstring& path);

// An icon file with one square image of size x size pixels. bitsPerPixel is
// 32 (pixel() gives 0xAARRGGBB, alpha included) or 24 (pixel() gives the
// colour, its alpha byte ignored). The AND mask has a bit set where
// transparent() says so.
struct IcoImage {
    int size = 32;
    int bitsPerPixel = 32;
    std::function<std::uint32_t(int x, int y)> pixel;
    std::function<bool(int x, int y)> transparent;
};
std::string icoFile(const IcoImage& image);

} // namespace pw::win32::test
