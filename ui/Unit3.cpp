#include "ui/Unit3.h"

TForm3::TForm3(QWidget* parent) : TCalcWindow(Texts(), parent)
{
    setObjectName(QStringLiteral("Form3"));
}

TCalcWindowTexts TForm3::Texts()
{
    TCalcWindowTexts t;
    t.Caption = QStringLiteral("Vilo Sve");
    t.City = QStringLiteral("Stad");
    t.IndoorTemp = QString::fromUtf8("Inomhustemperatur (\u00b0C)");
    t.MoistureSupplement = QStringLiteral("Fukttillskott (g/m3)");
    t.Length = QString::fromUtf8("Byggnadens l\u00e4ngd (m)");
    t.Width = QStringLiteral("Byggnadens bredd (m)");
    t.ConcreteThickness = QStringLiteral("Betong tjocklek (m)");
    t.InsulationThickness = QStringLiteral("Isolerings tjocklek (m)");
    t.FloorCheck = QString::fromUtf8("Golvt\u00e4ckning ovan betong");
    t.FloorConfig = QStringLiteral("Golv Konstruktion");
    t.BarrierCheck = QString::fromUtf8("Fuktsp\u00e4rr \u00f6ver Betong");
    t.Concrete = QStringLiteral("Betong");
    t.Insulation = QString::fromUtf8("V\u00e4rmeisolering");
    t.Soil = QStringLiteral("Mark");
    t.Calculate = QString::fromUtf8("Ber\u00e4kna");
    t.Exit = QStringLiteral("Avsluta");
    t.EditDatabases = QStringLiteral("Redigera Databaser");
    t.Report = QStringLiteral("Rapport");
    t.SwitchLanguage = QStringLiteral("Change Language");
    t.ResultsCaption = QString();
    t.ResultCaptions = {
        QString::fromUtf8("V\u00e4rmemotst\u00e5nd:"),
        QStringLiteral("Ekvivalent jordtjocklek:"),
        QStringLiteral("U0:"),
        QStringLiteral("Temperatur, isoleringens undersida:"),
        QString::fromUtf8("\u00c5nghalten i marken:"),
        QString::fromUtf8("Temperatur, \u00f6verkant betong:"),
        QString::fromUtf8("\u00c5nghalt, \u00f6verkant betong:"),
        QString::fromUtf8("RF, \u00f6verkant betong:"),
        QString::fromUtf8("RF, underkant av golvt\u00e4ckning i juli:"),
    };
    t.RangeCaption = QString::fromUtf8("V\u00e4rdet \u00e4r utanfor dataomr\u00e5det.");
    t.WidthMessage = QString::fromUtf8("Byggnaden m\u00e5ste har en bredd p\u00e5 minst 5 m");
    t.WidthLengthMessage = QString::fromUtf8("Byggnadens bredd \u00e4r storre an byggnadens l\u00e4ngd.");
    t.ConcreteMessage = QString::fromUtf8("Det m\u00e5ste finnas betong!");
    t.InsulationMessage = QStringLiteral("Du kan inte har mindre an 0 cm isolering!");
    t.CityField = QStringLiteral("Stad");
    t.FloorField = QStringLiteral("Golv");
    t.ConcreteField = QStringLiteral("Betong");
    t.InsulationField = QStringLiteral("Isolering");
    t.SoilField = QStringLiteral("Mark");
    t.InsulationAboveConcrete = true;
    t.GroundTempInEdit10 = true;
    t.CalculateIsDefault = true;
    t.SwitchBeforeResultsInTabOrder = true;
    t.ClientSize = QSize(513, 483);
    return t;
}
