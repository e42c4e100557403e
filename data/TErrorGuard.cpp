#include "data/TErrorGuard.h"

#include <cstdio>
#include <exception>

namespace {

TErrorHandler& InstalledHandler()
{
    static TErrorHandler handler;
    return handler;
}

}  // namespace

TErrorHandler SetErrorHandler(TErrorHandler Handler)
{
    return std::exchange(InstalledHandler(), std::move(Handler));
}

void ReportError(const QString& Message)
{
    // A handler that itself fails must not take the program down from inside Qt.
    try {
        if (InstalledHandler()) {
            InstalledHandler()(Message);
            return;
        }
    } catch (...) {
    }
    std::fprintf(stderr, "%s\n", qUtf8Printable(ErrorBoxText(Message)));
}

QString CurrentExceptionMessage()
{
    try {
        throw;
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

QString ErrorBoxText(const QString& Message)
{
    if (!Message.isEmpty() && Message.back() > QLatin1Char('.'))
        return Message + QLatin1Char('.');
    return Message;
}
