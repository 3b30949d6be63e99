// Conversions between a code page (the ANSI code page of group files and
// settings files without a byte-order mark) and UTF-16.
#include <windows.h>

#include "win32/Win32.h"

#include <climits>
#include <stdexcept>

namespace pw::win32
{

namespace
{

// The conversion functions count in int.
int checkedLength(std::size_t size)
{
    if (size > std::size_t(INT_MAX))
        throw std::length_error("text too long for a code page conversion");
    return int(size);
}

} // namespace

std::wstring decodeCodePage(std::string_view bytes, unsigned codePage)
{
    if (bytes.empty())
        return {};
    const int length = checkedLength(bytes.size());
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(std::size_t(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), n);
    return text;
}

std::string encodeCodePage(std::wstring_view text, unsigned codePage)
{
    if (text.empty())
        return {};
    const int length = checkedLength(text.size());
    const int n =
        WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(std::size_t(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), n, nullptr, nullptr);
    return bytes;
}

} // namespace pw::win32
