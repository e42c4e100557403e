// The two text rules every window uses: reading a typed number and writing a result.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// A text that is not a number; what() is "'<text>' is not a valid floating point value".
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The number grammar alone: the value in extended precision when the text matches,
// no value otherwise. For callers that store more than single precision.
std::optional<long double> ParseNumberText(std::string_view text, char decimalSeparator);

// Reads text as a decimal number with the given decimal separator ('.' or ','):
// spaces around, optional sign, digits with at most one separator, optional exponent.
// Throws ConversionError, or FloatingPointError("Floating point overflow") beyond float.
float ReadNumber(std::string_view text, char decimalSeparator);

// Four decimals, full stop, halves away from zero on the float's exact value.
std::string FormatResult(float value);
