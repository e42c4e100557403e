#include "data/TDatabaseError.h"

TDatabaseError::TDatabaseError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString TDatabaseError::Message() const
{
    return QString::fromUtf8(what());
}
