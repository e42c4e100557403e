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
    l.UnsavedQuestion = QString::fromUtf8("%1\n\n\u00c4ndringen i %2 har inte sparats. G\u00e5 tillbaka och r\u00e4tta den, "
                                          "eller kasta \u00e4ndringen?");
    l.GoBackCaption = QString::fromUtf8("G\u00e5 tillbaka");
    l.DiscardCaption = QString::fromUtf8("Kasta \u00e4ndringen");
    return l;
}
