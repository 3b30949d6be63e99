#include "core/IniValues.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>

using namespace Qt::StringLiterals;

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace
{

using pw::ini::formatFloat;
using pw::ini::formatInteger;
using pw::ini::parseFloat;
using pw::ini::parseInteger;

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(IniValues, ParseInteger)
{
    struct Case {
        const char16_t* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {u"0", 0},
        {u"48", 48},
        {u"-984833", -984833},
        {u"+7", 7},
        {u"007", 7},
        {u" 48 ", 48},
        {u"\t-3\t", -3},
        // The edges of the 32-bit range.
        {u"2147483647", kMax},
        {u"2147483648", std::nullopt},
        {u"-2147483648", kMin},
        {u"-2147483649", std::nullopt},
        {u"99999999999999999999999", std::nullopt},
        // Hex digits are a 32-bit pattern.
        {u"$FF000000", -16777216},
        {u"0xff000000", -16777216},
        {u"0XfFf0F8fF", -984833},
        {u"xFF", 255},
        {u"X1f", 31},
        {u"$FFFFFFFF", -1},
        {u"$7FFFFFFF", kMax},
        {u"$123456789", std::nullopt},
        {u"$", std::nullopt},
        {u"0x", std::nullopt},
        {u"0x1g", std::nullopt},
        {u"$-1", std::nullopt},
        // Anything else is no integer.
        {u"", std::nullopt},
        {u"   ", std::nullopt},
        {u"-", std::nullopt},
        {u"12abc", std::nullopt},
        {u"1 2", std::nullopt},
        {u"--1", std::nullopt},
        {u"1.0", std::nullopt},
        {u"true", std::nullopt},
        {u"false", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(parseInteger(QString::fromUtf16(c.text)), c.value);
    }
}

TEST(IniValues, FormatIntegerReadsBack)
{
    for (std::int32_t v : {0, -984833, -16777216, kMin, kMax}) {
        SCOPED_TRACE(v);
        const QString text = formatInteger(v);
        EXPECT_EQ(text, QString::number(v));
        EXPECT_EQ(parseInteger(text), v);
    }
}

TEST(IniValues, FormatFloatGeneralFifteenDigits)
{
    struct Case {
        double value;
        const char16_t* text;
    };
    const Case cases[] = {
        {double(0.3f), u"0.300000011920929"},
        {0.5, u"0.5"},
        {1.0, u"1"},
        {96.0, u"96"},
        {0.0, u"0"},
        {-0.0, u"0"},
        {-2.25, u"-2.25"},
        {0.1, u"0.1"},
        {1.0 / 3.0, u"0.333333333333333"},
        {2.0 / 3.0, u"0.666666666666667"},
        {1234.5678, u"1234.5678"},
        {0.0001, u"0.0001"},
        {1e-5, u"1E-5"},
        {1.5e-7, u"1.5E-7"},
        {-2.5e-12, u"-2.5E-12"},
        {123456789012345.0, u"123456789012345"},
        {1e15, u"1E15"},
        {1e20, u"1E20"},
        {1.25e100, u"1.25E100"},
        // Rounding to 15 digits can carry into the exponent.
        {999999999999999.9, u"1E15"},
        {9.9999999999999999, u"10"},
        // Rounded up, the largest doubles would leave the range of double.
        {std::numeric_limits<double>::max(), u"1.79769313486231E308"},
        {-std::numeric_limits<double>::max(), u"-1.79769313486231E308"},
        {1.797693134862315e308, u"1.79769313486231E308"},
        {1.7976931348623e308, u"1.7976931348623E308"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(formatFloat(c.value, u'.'), QString::fromUtf16(c.text));
    }
}

TEST(IniValues, FormatFloatUsesTheGivenSeparator)
{
    EXPECT_EQ(formatFloat(0.5, u','), u"0,5"_s);
    EXPECT_EQ(formatFloat(1.5e-7, u','), u"1,5E-7"_s);
    EXPECT_EQ(formatFloat(48.0, u','), u"48"_s);
}

TEST(IniValues, ParseFloat)
{
    struct Case {
        const char16_t* text;
        QChar separator;
        std::optional<double> value;
    };
    const Case cases[] = {
        {u"0.5", u'.', 0.5},
        {u"1", u'.', 1.0},
        {u"-2.25", u'.', -2.25},
        {u"+3", u'.', 3.0},
        {u" 0.5 ", u'.', 0.5},
        {u".5", u'.', 0.5},
        {u"5.", u'.', 5.0},
        {u"1E20", u'.', 1e20},
        {u"1e-5", u'.', 1e-5},
        {u"1.5E-7", u'.', 1.5e-7},
        {u"2e+3", u'.', 2000.0},
        // The user's separator, and "." from a hand-edited file.
        {u"0,5", u',', 0.5},
        {u"1,5E-7", u',', 1.5e-7},
        {u"0.5", u',', 0.5},
        {u"0,5", u'.', std::nullopt},
        // No number.
        {u"", u'.', std::nullopt},
        {u"  ", u'.', std::nullopt},
        {u"abc", u'.', std::nullopt},
        {u"0.5x", u'.', std::nullopt},
        {u"1.5.2", u'.', std::nullopt},
        {u".", u'.', std::nullopt},
        {u"-", u'.', std::nullopt},
        {u"1e", u'.', std::nullopt},
        {u"e5", u'.', std::nullopt},
        {u"inf", u'.', std::nullopt},
        {u"INF", u'.', std::nullopt},
        {u"nan", u'.', std::nullopt},
        {u"0x1p3", u'.', std::nullopt},
        {u"1e999", u'.', std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString() + " sep " +
                     QString(c.separator).toStdString());
        EXPECT_EQ(parseFloat(QString::fromUtf16(c.text), c.separator), c.value);
    }
}

TEST(IniValues, SinglePrecisionValuesSurviveAWriteAndRead)
{
    for (float f : {0.3f, 0.7f, 0.1f, 1.0f / 3.0f, 0.5f, 123.456f, 1e-6f, 3e38f}) {
        for (QChar sep : {QChar(u'.'), QChar(u',')}) {
            SCOPED_TRACE(f);
            const auto back = parseFloat(formatFloat(f, sep), sep);
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(static_cast<float>(*back), f);
        }
    }
}

TEST(IniValues, EveryFiniteValueReadsBackAsNearlyItself)
{
    using limits = std::numeric_limits<double>;
    const double values[] = {
        limits::max(),
        -limits::max(),
        std::nextafter(limits::max(), 0.0),
        1.797693134862315e308,
        1.7976931348623e308,
        limits::min(),
        -limits::min(),
        limits::denorm_min(),
        1e-300,
        123456.789,
    };
    for (double value : values) {
        for (QChar sep : {QChar(u'.'), QChar(u',')}) {
            SCOPED_TRACE(testing::Message() << value << " sep " << char(sep.unicode()));
            const QString text = formatFloat(value, sep);
            const auto back = parseFloat(text, sep);
            ASSERT_TRUE(back.has_value()) << text.toStdString();
            EXPECT_LE(std::fabs(*back - value), std::fabs(value) * 1e-14);
            // What was read writes as the same text.
            EXPECT_EQ(formatFloat(*back, sep), text);
        }
    }
}

} // namespace
