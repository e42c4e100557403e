// Errors raised inside a handler travel as exceptions; Qt does not let them unwind
// through its signal and event calls, so every handler body runs through Guarded,
// which hands the message to the application's standard error box.
#pragma once

#include <QString>

#include <functional>
#include <utility>

// Shows one error message to the user (the application installs its error box).
using TErrorHandler = std::function<void(const QString& Message)>;

// Installs Handler for the whole program; returns the previous one.
TErrorHandler SetErrorHandler(TErrorHandler Handler);

// Hands Message to the installed handler; without one it goes to standard error.
void ReportError(const QString& Message);

// The what() of the exception being handled (UTF-8), or a generic text.
QString CurrentExceptionMessage();

// The error box text: Message, with a full stop appended when its last character
// has a higher code than the full stop (letters and digits do; ".", "!" and ")" don't).
QString ErrorBoxText(const QString& Message);

// Runs Body; an exception ends it and is reported. True when Body ran to its end.
template <class F>
bool Guarded(F&& Body) noexcept
{
    try {
        std::forward<F>(Body)();
        return true;
    } catch (...) {
        ReportError(CurrentExceptionMessage());
        return false;
    }
}
