#include "ui/Unit7.h"

#include <QCloseEvent>

TForm7::TForm7(QWidget* parent)
    : TDetailsDialog({"Name:", "Project:", "Contact info:"},
                     Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint, parent) {
    setObjectName(QStringLiteral("Form7"));
    setFixedSize(422, 264);
    move(17, 33);
}

void TForm7::closeEvent(QCloseEvent* event) {
    // No close button: OK hides the dialog, and any other close (Alt+F4) is refused.
    event->ignore();
}
