#include "ui/Unit2.h"

TFormEng::TFormEng(QWidget* parent) : TCalcWindow(Texts(), parent)
{
    setObjectName(QStringLiteral("FormEng"));
}

TCalcWindowTexts TFormEng::Texts()
{
    TCalcWindowTexts t;
    t.Caption = QStringLiteral("Vilo Eng");
    t.City = QStringLiteral("City");
    t.IndoorTemp = QString::fromUtf8("Indoor Temperature (\u00b0C)");
    t.MoistureSupplement = QStringLiteral("Moisture Increase Factor (g/m3)");
    t.Length = QStringLiteral("Length (m)");
    t.Width = QStringLiteral("Width (m)");
    t.ConcreteThickness = QStringLiteral("Concrete Thickness (m)");
    t.InsulationThickness = QStringLiteral("Insulation Thickness (m)");
    t.FloorCheck = QStringLiteral("Floor Structure above the Concrete");
    t.FloorConfig = QStringLiteral("Floor Config");
    t.BarrierCheck = QStringLiteral("Vapour Barrier over Concrete");
    t.Concrete = QStringLiteral("Concrete");
    t.Insulation = QStringLiteral("Insulation");
    t.Soil = QStringLiteral("Soil");
    t.Calculate = QStringLiteral("Calculate");
    t.Exit = QStringLiteral("Exit");
    t.EditDatabases = QStringLiteral("Edit Databases");
    t.Report = QStringLiteral("Generate Report");
    t.SwitchLanguage = QString::fromUtf8("Byt Spr\u00e5k");
    t.ResultsCaption = QStringLiteral("Results");
    t.ResultCaptions = {
        QStringLiteral("Resistance (total):"),
        QStringLiteral("d (equivelent thickness ) :"),
        QStringLiteral("u0:"),
        QStringLiteral("Ground temperature:"),
        QStringLiteral("Ground moisture content:"),
        QStringLiteral("Temp over concrete:"),
        QStringLiteral("Moisture content \nabove concrete:"),
        QStringLiteral("RH above concrete/under the floor:"),
        QStringLiteral("RH under the floor assembly \nduring July in the selected City:"),
    };
    t.RangeCaption = QStringLiteral("Value outside of range.");
    t.WidthMessage = QStringLiteral("The slab must be at least 5 m wide");
    t.WidthLengthMessage = QStringLiteral("The width is larger than the length");
    t.ConcreteMessage = QStringLiteral("You must have concrete!");
    t.InsulationMessage = QStringLiteral("You can not have less than 0 cm insulation.");
    t.InsulationHint = QStringLiteral("Thickness of the insulation");
    t.CityField = QStringLiteral("City");
    t.FloorField = QStringLiteral("Floor construction");
    t.ConcreteField = QStringLiteral("Concrete");
    t.InsulationField = QStringLiteral("Insulation");
    t.SoilField = QStringLiteral("Soil");
    t.ClientSize = QSize(514, 528);
    return t;
}
