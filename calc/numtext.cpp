// Reading typed numbers and writing results as text, independent of the C locale.
#include "calc/numtext.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

#include "calc/extended.h"
#include "calc/slab.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// strtold honours LC_NUMERIC, which a desktop program sets from the user's
// settings; the canonical text built below always uses '.', so parse it in "C".
locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

}  // namespace

std::optional<long double> ParseNumberText(std::string_view text, char decimalSeparator)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    std::size_t end = n;
    while (end > i && text[end - 1] == ' ')
        --end;

    std::string canonical;
    canonical.reserve(end - i + 2);
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            canonical.push_back('-');
        ++i;
    }

    bool seenSeparator = false;
    bool seenMantissa = false;  // a digit or the separator
    std::string mantissa;
    for (; i < end; ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            mantissa.push_back(c);
            seenMantissa = true;
        } else if (c == decimalSeparator && !seenSeparator) {
            mantissa.push_back('.');
            seenSeparator = true;
            seenMantissa = true;
        } else {
            break;
        }
    }
    if (!seenMantissa)
        return std::nullopt;
    // A lone separator reads as 0; "5." and ".5" are complete numbers.
    if (mantissa.front() == '.')
        mantissa.insert(mantissa.begin(), '0');
    if (mantissa.back() == '.')
        mantissa.push_back('0');
    canonical += mantissa;

    if (i < end && (text[i] == 'E' || text[i] == 'e')) {
        canonical.push_back('e');
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-'))
            canonical.push_back(text[i++]);
        bool exponentDigits = false;
        for (; i < end && IsDigit(text[i]); ++i) {
            canonical.push_back(text[i]);
            exponentDigits = true;
        }
        if (!exponentDigits)
            return std::nullopt;
    }
    if (i != end)
        return std::nullopt;

    return strtold_l(canonical.c_str(), nullptr, CLocale());
}

float ReadNumber(std::string_view text, char decimalSeparator)
{
    const std::optional<long double> value = ParseNumberText(text, decimalSeparator);
    if (!value)
        throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
    return vilo::calc::Round(*value);
}

std::string FormatResult(float value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";

    // Every float has a finite decimal expansion (at most 149 fraction digits);
    // glibc prints it exactly, so the rounding below decides on the exact value.
    char exact[400];
    std::snprintf(exact, sizeof exact, "%.160f", std::fabs(static_cast<double>(value)));
    std::string digits(exact);
    const std::size_t point = digits.find('.');
    std::string kept = digits.substr(0, point) + digits.substr(point + 1, 4);

    // Halves go away from zero: a fifth digit of 5 or more rounds the magnitude up.
    if (digits[point + 5] >= '5') {
        std::size_t k = kept.size();
        while (k > 0) {
            --k;
            if (kept[k] == '9') {
                kept[k] = '0';
            } else {
                ++kept[k];
                break;
            }
            if (k == 0)
                kept.insert(kept.begin(), '1');
        }
    }

    std::string result = value < 0 ? "-" : "";
    result += kept.substr(0, kept.size() - 4);
    result += '.';
    result += kept.substr(kept.size() - 4);
    return result;
}
