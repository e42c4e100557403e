#include "ui/Unit5.h"

TForm5::TForm5(QWidget* parent) : TDatabaseEditor(TLanguage::English, Layout(), parent)
{
    setObjectName(QStringLiteral("Form5"));
}

TDatabaseEditorLayout TForm5::Layout()
{
    TDatabaseEditorLayout l;
    l.Caption = QStringLiteral("Database Editor Eng");
    l.ButtonCaption = QStringLiteral("Close Databases");
    l.Sizeable = true;
    l.Position = QPoint(17, 34);
    // Outer 701 x 434 with a sizeable frame leaves this client area.
    l.ClientSize = QSize(693, 407);
    l.Grids = {QRect(8, 24, 328, 97), QRect(352, 24, 329, 97), QRect(0, 160, 337, 97),
               QRect(351, 160, 321, 97), QRect(8, 296, 329, 97)};
    l.Navigators = {QRect(64, 0, 240, 25), QRect(392, 0, 240, 25), QRect(64, 136, 240, 25),
                    QRect(392, 136, 240, 25), QRect(64, 272, 240, 25)};
    l.Button = QRect(464, 328, 105, 25);
    l.GridTabs = {0, 1, 2, 3, 4};
    l.NavigatorTabs = {5, 6, 7, 8, 9};
    return l;
}
