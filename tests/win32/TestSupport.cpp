#include <windows.h>

#include "TestSupport.h"

#include <atomic>
#include <stdexcept>

namespace pw::win32::test
{

namespace
{

void append16(std::string* out, unsigned value)
{
    out->push_back(char(value & 0xFF));
    out->push_back(char((value >> 8) & 0xFF));
}

void append32(std::string* out, std::uint32_t value)
{
    append16(out, value & 0xFFFF);
    append16(out, value >> 16);
}

void removeTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = dir + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

} // namespace

TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    wchar_t base[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, base);
    if (n == 0 || n > MAX_PATH)
        throw std::runtime_error("no temporary directory");
    std::wstring root(base, n);
    if (root.back() == L'\\')
        root.pop_back();
    for (;;) {
        path_ = root + L"\\pw 試験 " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter++);
        if (CreateDirectoryW(path_.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a temporary directory");
    }
}

TempDir::~TempDir()
{
    removeTree(path_);
}

HWND createWindow(const WindowOptions& options)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    if (!GetClassInfoW(instance, options.className, &wc)) {
        wc.lpfnWndProc = options.proc;
        wc.hInstance = instance;
        wc.lpszClassName = options.className;
        if (RegisterClassW(&wc) == 0)
            return nullptr;
    }
    return CreateWindowExW(options.exStyle, options.className, L"", options.style, 10, 10, 96, 96,
                           options.parent, nullptr, instance, nullptr);
}

std::wstring programDirectory()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/"));
}

void writeFile(const std::wstring& path, const std::string& bytes)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create a test file");
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    if (!ok)
        throw std::runtime_error("cannot write a test file");
}

std::string readFile(const std::wstring& path)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::string icoFile(const IcoImage& image)
{
    const int size = image.size;
    const int bytesPerPixel = image.bitsPerPixel / 8;
    // Rows of both bitmaps are padded to four bytes and stored bottom-up.
    const int colourStride = (size * bytesPerPixel + 3) / 4 * 4;
    const int maskStride = (size + 31) / 32 * 4;
    const std::uint32_t dataSize = std::uint32_t(40 + (colourStride + maskStride) * size);

    std::string out;
    append16(&out, 0); // reserved
    append16(&out, 1); // type: icon
    append16(&out, 1); // one image
    out.push_back(char(size < 256 ? size : 0));
    out.push_back(char(size < 256 ? size : 0));
    out.push_back(0); // no palette
    out.push_back(0);
    append16(&out, 1); // planes
    append16(&out, unsigned(image.bitsPerPixel));
    append32(&out, dataSize);
    append32(&out, 6 + 16); // the image follows the one directory entry

    append32(&out, 40); // BITMAPINFOHEADER
    append32(&out, std::uint32_t(size));
    append32(&out, std::uint32_t(2 * size)); // colour and mask together
    append16(&out, 1);
    append16(&out, unsigned(image.bitsPerPixel));
    append32(&out, 0); // BI_RGB
    append32(&out, dataSize - 40);
    for (int i = 0; i < 4; ++i)
        append32(&out, 0);

    for (int y = size - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < size; ++x) {
            const std::uint32_t p = image.pixel(x, y);
            row.push_back(char(p & 0xFF));
            row.push_back(char((p >> 8) & 0xFF));
            row.push_back(char((p >> 16) & 0xFF));
            if (bytesPerPixel == 4)
                row.push_back(char(p >> 24));
        }
        row.resize(std::size_t(colourStride), '\0');
        out += row;
    }
    for (int y = size - 1; y >= 0; --y) {
        std::string row(std::size_t(maskStride), '\0');
        for (int x = 0; x < size; ++x) {
            if (image.transparent(x, y))
                row[std::size_t(x / 8)] = char(row[std::size_t(x / 8)] | (0x80 >> (x % 8)));
        }
        out += row;
    }
    return out;
}

} // namespace pw::win32::test
