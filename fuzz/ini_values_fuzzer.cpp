// The text forms of settings values: parsing never fails in any other way
// than nullopt, and what is written reads back.
#include "FuzzSupport.h"
#include "core/IniValues.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace
{

using pw::ini::formatFloat;
using pw::ini::formatInteger;
using pw::ini::parseFloat;
using pw::ini::parseInteger;

// 15 significant digits carry any normal double to a decimal and back to the
// same 15 digits, so formatting what was read from a formatted value gives
// the same text again.
void checkFloatText(double value, QChar point)
{
    const QString text = formatFloat(value, point);
    const std::optional<double> back = parseFloat(text, point);
    if (!std::isfinite(value)) {
        PW_FUZZ_CHECK(!back);
        return;
    }
    PW_FUZZ_CHECK(back);
    PW_FUZZ_CHECK(std::signbit(*back) == std::signbit(value) || value == 0.0);
    if (value != 0.0 && std::fabs(value) < DBL_MIN)
        return; // subnormals hold fewer digits
    PW_FUZZ_CHECK(std::fabs(*back - value) <= std::fabs(value) * 1e-14);
    PW_FUZZ_CHECK(formatFloat(*back, point) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t mode = data[0];
    ++data;
    --size;
    const QChar point = (mode & 1) != 0 ? QChar(u',') : QChar(u'.');
    // The text as UTF-8, or as raw UTF-16 code units (any QChar at all).
    QString text;
    if ((mode & 2) != 0)
        text = QString(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
    else
        text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const std::optional<std::int32_t> integer = parseInteger(text);
    if (integer) {
        PW_FUZZ_CHECK(parseInteger(formatInteger(*integer)) == integer);
        // Blanks around the value are no part of it.
        PW_FUZZ_CHECK(parseInteger(QStringLiteral(" \t") + text + QStringLiteral("\t ")) ==
                      integer);
    }
    // "$", "0x" and "x" are the same hexadecimal prefix.
    if (text.startsWith(u'$')) {
        PW_FUZZ_CHECK(parseInteger(QStringLiteral("0x") + text.mid(1)) == integer);
        PW_FUZZ_CHECK(parseInteger(QStringLiteral("X") + text.mid(1)) == integer);
    }

    const std::optional<double> real = parseFloat(text, point);
    if (real) {
        PW_FUZZ_CHECK(std::isfinite(*real));
        PW_FUZZ_CHECK(parseFloat(QStringLiteral(" ") + text + QStringLiteral("\t"), point) == real);
        checkFloatText(*real, point);
    }
    // Any bit pattern as a double, written and read back.
    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        checkFloatText(value, point);
    }
    return 0;
}
