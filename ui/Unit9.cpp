#include "ui/Unit9.h"

TForm9::TForm9(QWidget* parent)
    : TDetailsDialog({"Nam:", "Projekt:", "Kontakt:"},
                     Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                         Qt::WindowCloseButtonHint,
                     parent) {
    setObjectName(QStringLiteral("Form9"));
    // A 427 x 312 window: the client area inside an ordinary frame and title bar.
    resize(419, 285);
    move(15, 35);
}
