// Number cells as text: written in the user's decimal separator, read with the
// calculation's number grammar, so a cell's text always reads back to its value.
#pragma once

#include <QString>

#include <optional>

// The decimal separator of the user's locale at call time: ',' when QLocale() says so, else '.'.
char LocaleDecimalSeparator();

// Shortest text that reads back to exactly ValueD: ASCII digits, '-', 'E' exponent,
// no grouping, the given separator ('.' or ','). Not finite values give "INF"/"-INF"/"NAN".
QString FormatNumberText(double ValueD, char decimalSeparator);

// FormatNumberText with LocaleDecimalSeparator().
QString FormatNumberText(double ValueD);

// The correctly rounded double of a text in the calculation's number grammar with the
// given separator; no value when the text does not match or lies beyond double range.
std::optional<double> ParseNumberCellText(const QString& text, char decimalSeparator);
