#include "report/Unit6.h"

TForm6::TForm6(QWidget* parent) : TReportForm(Texts(), parent) {
    setObjectName(QStringLiteral("Form6"));
}

const TReportTexts& TForm6::Texts() {
    static const TReportTexts texts{
        .NameCaption = "Name:",
        .DateCaption = "Date:",
        .ProjectCaption = "Project:",
        .ContactCaption = "Contact Info:",
        .ResultsHeading = "Results",
        .FloorCaption = "Floor Construction",
        .ThicknessCaption = "Thickness (m)",
        .ConductivityCaption = "Thermal Conductivity",
        .PermeabilityCaption = "Permiability",
        .RValueNote = "(R-value)",
        .MoistureResistanceNote = "(Moisture resistance)",
        .ResultCaptions = {"Resistance (total):", "d (equivelent thickness):", "u0:",
                           "Ground Temperature:", "Ground moisture content:",
                           "Temperature above concrete", "Delta T",
                           "Moisture content above concrete:",
                           "RH above concrete/under the floor:",
                           "RH above concrete/under floor in July:"},
        .FloorColumn = "Floor construction",
        .FloorHeatResistanceColumn = "Total heat resistance",
        .FloorVapourResistanceColumn = "Tot water vapour resist.",
        .ConcreteColumn = "Concrete",
        .ConcreteConductivityColumn = "Thermal conductivity",
        .ConcretePermeabilityColumn = "Permeability",
        .InsulationColumn = "Insulation",
        .InsulationConductivityColumn = "Thermal conductivity",
        .InsulationPermeabilityColumn = "Permeability",
        .SoilColumn = "Soil",
        .SoilConductivityColumn = "Thermal Conductivity (uf)",
        .CityColumn = "City",
        .ColumnLeftMm = {0.0, 65.6, 97.4, 135.5},
        .ColumnRightMm = {65.9, 97.6, 135.7, 190.8},
        .ConductivityCaptionLeftMm = 99.5,
        .BodyLeftMm = {72.0, 99.5, 137.6},
        .RValueNoteLeftMm = 112.2,
        .MoistureResistanceNoteLeftMm = 154.5,
        .ResultBoxNames = {"Edit6", "Edit7", "Edit8", "Edit9", "Edit10", "Edit11", "Edit15",
                           "Edit12", "Edit13", "Edit14"},
    };
    return texts;
}
