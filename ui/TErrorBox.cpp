#include "ui/TErrorBox.h"

#include <QMessageBox>

#include "data/TErrorGuard.h"

void ShowErrorBox(const QString& Message, QWidget* parent)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vilo"), ErrorBoxText(Message), QMessageBox::Ok, parent);
    box.exec();
}

void ShowStartupErrorBox(const QString& Message)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"), ErrorBoxText(Message),
                    QMessageBox::Ok);
    box.exec();
}
