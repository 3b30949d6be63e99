#include "core/IniValues.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace pw::ini
{

namespace
{

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView stripBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int hexDigitValue(QChar c)
{
    if (isDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

std::optional<std::int32_t> parseHex(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (QChar c : digits) {
        const int d = hexDigitValue(c);
        if (d < 0)
            return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    // The digits are a 32-bit pattern: 0xFF000000 is a negative number.
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> parseDecimal(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) {
        negative = text[0] == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    for (QChar c : text) {
        if (!isDigit(c))
            return std::nullopt;
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace

std::optional<std::int32_t> parseInteger(QStringView text)
{
    text = stripBlanks(text);
    if (text.startsWith(u'$'))
        return parseHex(text.mid(1));
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return parseHex(text.mid(2));
    if (text.startsWith(u'x', Qt::CaseInsensitive))
        return parseHex(text.mid(1));
    return parseDecimal(text);
}

QString formatInteger(std::int32_t value)
{
    return QString::number(value);
}

QString formatFloat(double value, QChar decimalPoint)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0.0)
        return QStringLiteral("0"); // also -0.0

    constexpr int kPrecision = 15;
    // Rounded to 15 digits, the largest doubles (from 1.797693134862315E308
    // on) would become 1.79769313486232E308, a number beyond the range of
    // double that reads back as no number at all. They are written as the
    // largest 15-digit number within the range instead.
    constexpr double kLargestWritable = 1.79769313486231e308;
    if (std::fabs(value) > kLargestWritable)
        value = std::copysign(kLargestWritable, value);
    // Scientific form with 15 significant digits, correctly rounded and
    // independent of the C locale: "-d.dddddddddddddde+XX".
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, kPrecision - 1);
    const std::string sci(buffer, result.ptr);
    const auto ePos = sci.find('e');
    const int exponent = std::stoi(sci.substr(ePos + 1));
    const bool negative = sci.front() == '-';

    std::string digits;
    for (char c : sci.substr(0, ePos)) {
        if (c >= '0' && c <= '9')
            digits += c;
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    QString out;
    if (negative)
        out += u'-';
    if (exponent < -4 || exponent >= kPrecision) {
        out += QLatin1Char(digits[0]);
        if (digits.size() > 1) {
            out += decimalPoint;
            out += QLatin1String(digits.data() + 1, static_cast<qsizetype>(digits.size() - 1));
        }
        out += u'E';
        out += QString::number(exponent);
    } else if (exponent < 0) {
        out += u'0';
        out += decimalPoint;
        out += QString(-exponent - 1, u'0');
        out += QLatin1String(digits.data(), static_cast<qsizetype>(digits.size()));
    } else {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += QLatin1String(digits.data(), static_cast<qsizetype>(digits.size()));
            out += QString(static_cast<qsizetype>(intDigits - digits.size()), u'0');
        } else {
            out += QLatin1String(digits.data(), static_cast<qsizetype>(intDigits));
            out += decimalPoint;
            out += QLatin1String(digits.data() + intDigits,
                                 static_cast<qsizetype>(digits.size() - intDigits));
        }
    }
    return out;
}

std::optional<double> parseFloat(QStringView text, QChar decimalPoint)
{
    text = stripBlanks(text);
    // Checks the text against [sign] digits [sep digits] [(e|E) [sign] digits]
    // and rewrites it in the C form for from_chars. The user's separator is
    // read, and "." as well, since the file may have been edited by hand.
    std::string ascii;
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-')
            ascii += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < n && isDigit(text[i])) {
        ascii += static_cast<char>(text[i].unicode());
        ++mantissaDigits;
        ++i;
    }
    if (i < n && (text[i] == decimalPoint || text[i] == u'.')) {
        ascii += '.';
        ++i;
        while (i < n && isDigit(text[i])) {
            ascii += static_cast<char>(text[i].unicode());
            ++mantissaDigits;
            ++i;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < n && (text[i] == u'-' || text[i] == u'+')) {
            ascii += static_cast<char>(text[i].unicode());
            ++i;
        }
        int exponentDigits = 0;
        while (i < n && isDigit(text[i])) {
            ascii += static_cast<char>(text[i].unicode());
            ++exponentDigits;
            ++i;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;

    double value = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace pw::ini
