#include "ui/Unit4.h"

TForm4::TForm4(QWidget* parent) : TDatabaseEditor(TLanguage::Swedish, Layout(), parent)
{
    setObjectName(QStringLiteral("Form4"));
}

TDatabaseEditorLayout TForm4::Layout()
{
    TDatabaseEditorLayout l;
    l.Caption = QStringLiteral("Database Editor Sve");
    l.ButtonCaption = QString::fromUtf8("St\u00e4ng Databaser");
    l.Sizeable = false;
    l.Position = QPoint(14, 33);
    l.ClientSize = QSize(693, 407);
    l.Grids = {QRect(9, 32, 329, 97), QRect(353, 32, 329, 97), QRect(10, 168, 327, 97),
               QRect(353, 168, 321, 97), QRect(9, 300, 328, 101)};
    l.Navigators = {QRect(58, 8, 240, 25), QRect(394, 8, 240, 25), QRect(50, 144, 240, 25),
                    QRect(394, 144, 240, 25), QRect(50, 272, 240, 25)};
    l.Button = QRect(472, 312, 105, 25);
    l.GridTabs = {0, 2, 1, 3, 4};
    l.NavigatorTabs = {5, 7, 9, 6, 8};
    return l;
}
