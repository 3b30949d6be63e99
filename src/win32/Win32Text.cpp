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

// The code page that stands for the system's ANSI or OEM code page.
unsigned resolvedCodePage(unsigned codePage)
{
    if (codePage == CP_ACP)
        return GetACP();
    if (codePage == CP_OEMCP)
        return GetOEMCP();
    return codePage;
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

std::optional<std::string> encodeCodePageExactly(std::wstring_view text, unsigned codePage)
{
    // UTF-8 holds every character, and the system takes no flags for it.
    if (resolvedCodePage(codePage) == CP_UTF8)
        return encodeCodePage(text, codePage);
    if (text.empty())
        return std::string();
    const int length = checkedLength(text.size());
    // Without WC_NO_BEST_FIT_CHARS a character the code page lacks may come
    // out as a look-alike without the default character being reported.
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr,
                                      0, nullptr, &usedDefault);
    if (n <= 0) {
        // A code page that takes neither the flag nor the report (or none
        // the system knows): the text fits when it reads back unchanged.
        std::string bytes = encodeCodePage(text, codePage);
        if (decodeCodePage(bytes, codePage) != text)
            return std::nullopt;
        return bytes;
    }
    if (usedDefault)
        return std::nullopt;
    std::string bytes(std::size_t(n), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length, bytes.data(), n,
                        nullptr, &usedDefault);
    if (usedDefault)
        return std::nullopt;
    return bytes;
}

std::wstring userUiLanguage()
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const LCID locale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (LCIDToLocaleName(locale, name, LOCALE_NAME_MAX_LENGTH, 0) <= 0)
        return {};
    return name;
}

} // namespace pw::win32
