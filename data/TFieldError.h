// A cell text that its column cannot take.
#pragma once

#include "data/TDatabaseError.h"

// what() is exactly "'<text>' is not a valid floating point value for field '<column>'".
class TFieldError : public TDatabaseError {
public:
    TFieldError(const QString& text, const QString& fieldName);
};
