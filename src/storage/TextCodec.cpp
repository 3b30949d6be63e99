// The ANSI encoding: the host's, or Windows-1252 for tests on any system.
#include "storage/TextCodec.h"

#include <array>
#include <atomic>

namespace pw::platform
{

namespace
{

std::atomic<bool> windows1252{false};

// Windows-1252: ISO 8859-1 but for the bytes 80-9F. The five bytes the code
// page leaves free (81, 8D, 8F, 90, 9D) stand for the control characters of
// the same number, as the system converts them.
constexpr std::array<char16_t, 32> kCp1252High = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

QString decode1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = byte >= 0x80 && byte < 0xA0 ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

// The byte of a character of Windows-1252, or -1.
int byte1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

std::optional<QByteArray> encode1252(const QString& text, bool exactly)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = byte1252(text[i].unicode());
        if (byte < 0 && exactly)
            return std::nullopt;
        bytes[i] = byte < 0 ? '?' : char(byte);
    }
    return bytes;
}

} // namespace

QString decodeAnsi(const QByteArray& bytes)
{
    return windows1252.load(std::memory_order_relaxed) ? decode1252(bytes)
                                                       : detail::decodeHostAnsi(bytes);
}

QByteArray encodeAnsi(const QString& text)
{
    return windows1252.load(std::memory_order_relaxed) ? *encode1252(text, false)
                                                       : detail::encodeHostAnsi(text);
}

std::optional<QByteArray> encodeAnsiExactly(const QString& text)
{
    return windows1252.load(std::memory_order_relaxed) ? encode1252(text, true)
                                                       : detail::encodeHostAnsiExactly(text);
}

void useWindows1252AsAnsiForTesting(bool on)
{
    windows1252.store(on, std::memory_order_relaxed);
}

} // namespace pw::platform
