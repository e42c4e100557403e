#include "data/NumberText.h"

#include "calc/numtext.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <string>

char LocaleDecimalSeparator()
{
    return QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

QString FormatNumberText(double ValueD, char decimalSeparator)
{
    if (std::isnan(ValueD))
        return QStringLiteral("NAN");
    if (std::isinf(ValueD))
        return ValueD < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    // Shortest digits that round-trip, then laid out like a general number format:
    // plain digits for ordinary magnitudes, an exponent for very small or large ones.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, ValueD, std::chars_format::scientific);
    const std::string scientific(buffer, result.ptr);
    const auto ePos = scientific.find('e');
    std::string mantissa = scientific.substr(0, ePos);
    const int exponent = std::stoi(scientific.substr(ePos + 1));

    std::string sign;
    if (!mantissa.empty() && mantissa[0] == '-') {
        sign = "-";
        mantissa.erase(0, 1);
    }
    std::string digits;
    for (char c : mantissa)
        if (c != '.')
            digits += c;

    std::string text;
    if (exponent >= -4 && exponent < 15) {
        if (exponent >= 0) {
            const std::size_t intLength = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= intLength) {
                text = digits + std::string(intLength - digits.size(), '0');
            } else {
                text = digits.substr(0, intLength) + decimalSeparator + digits.substr(intLength);
            }
        } else {
            text = std::string("0") + decimalSeparator + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        }
    } else {
        text = digits.substr(0, 1);
        if (digits.size() > 1)
            text += decimalSeparator + digits.substr(1);
        text += 'E' + std::to_string(exponent);
    }
    return QString::fromStdString(sign + text);
}

QString FormatNumberText(double ValueD)
{
    return FormatNumberText(ValueD, LocaleDecimalSeparator());
}

std::optional<double> ParseNumberCellText(const QString& text, char decimalSeparator)
{
    const std::string utf8 = text.toStdString();
    const std::optional<long double> extended = ParseNumberText(utf8, decimalSeparator);
    if (!extended)
        return std::nullopt;

    // The grammar is checked; now the correctly rounded double from the same digits
    // (going through long double would round twice).
    std::string plain;
    std::size_t i = 0;
    while (i < utf8.size() && utf8[i] == ' ')
        ++i;
    std::size_t end = utf8.size();
    while (end > i && utf8[end - 1] == ' ')
        --end;
    bool negative = false;
    if (i < end && (utf8[i] == '+' || utf8[i] == '-')) {
        negative = utf8[i] == '-';
        ++i;
    }
    std::string mantissa;
    std::string exponent;
    bool inExponent = false;
    bool anyDigit = false;
    for (; i < end; ++i) {
        const char c = utf8[i];
        if (!inExponent && (c == 'e' || c == 'E')) {
            inExponent = true;
            continue;
        }
        if (inExponent) {
            exponent += c;
        } else if (c == decimalSeparator) {
            mantissa += '.';
        } else {
            anyDigit = anyDigit || (c >= '0' && c <= '9');
            mantissa += c;
        }
    }
    if (!anyDigit)
        return negative ? -0.0 : 0.0;
    std::string normal = mantissa;
    if (!exponent.empty()) {
        if (exponent[0] == '+')
            exponent.erase(0, 1);
        normal += 'e' + exponent;
    }
    double value = 0;
    const auto parsed = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (parsed.ec == std::errc::result_out_of_range) {
        if (std::fabs(*extended) >= 1)
            return std::nullopt;  // beyond double range
        value = static_cast<double>(*extended);  // underflow: zero or subnormal either way
    } else if (parsed.ec != std::errc() || parsed.ptr != normal.data() + normal.size()) {
        value = static_cast<double>(*extended);
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}
