#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// The text forms of settings values, as written to and read from the settings
// file. Pure functions: the INI engine and its tests share them.
namespace pw::ini
{

// Optionally signed decimal within the 32-bit signed range, or 1 to 8 hex
// digits after "$", "0x" or "x" (either case) taken as a 32-bit pattern.
// Surrounding blanks are ignored; anything else yields nullopt.
std::optional<std::int32_t> parseInteger(QStringView text);
QString formatInteger(std::int32_t value);

// General format, at most 15 significant digits, the given decimal
// separator: 0.300000011920929, 0.5, 1, 1E20, 1E-5.
QString formatFloat(double value, QChar decimalPoint);
// Reads what formatFloat writes (and plain decimal or exponent forms);
// nullopt for empty or unparsable text, infinities and NaN.
std::optional<double> parseFloat(QStringView text, QChar decimalPoint);

} // namespace pw::ini
