// Failures of the table engine: open, post, delete, refresh, locked, read-only, refused.
#pragma once

#include <QString>

#include <stdexcept>

// An engine-side failure; what() is the complete message for the error box (UTF-8).
class TDatabaseError : public std::runtime_error {
public:
    explicit TDatabaseError(const QString& message);
    // The message as Qt text (what() decoded).
    QString Message() const;
};
