#include "ui/ConfirmDelete.h"

#include <QMessageBox>

bool ConfirmDeleteRecord(QWidget* Parent)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), QStringLiteral("Delete record?"),
                    QMessageBox::Ok | QMessageBox::Cancel, Parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}
