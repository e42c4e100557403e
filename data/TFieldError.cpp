#include "data/TFieldError.h"

TFieldError::TFieldError(const QString& text, const QString& fieldName)
    : TDatabaseError(QStringLiteral("'%1' is not a valid floating point value for field '%2'").arg(text, fieldName))
{
}
