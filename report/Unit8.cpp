#include "report/Unit8.h"

TForm8::TForm8(QWidget* parent) : TReportForm(Texts(), parent) {
    setObjectName(QStringLiteral("Form8"));
}

const TReportTexts& TForm8::Texts() {
    static const TReportTexts texts{
        .NameCaption = "Nam:",
        .DateCaption = "Datum:",
        .ProjectCaption = "Projekt:",
        .ContactCaption = "Kontakt:",
        .ResultsHeading = "Resultat",
        .FloorCaption = "Golv Konstruktion",
        .ThicknessCaption = "Tjocklek (m)",
        .ConductivityCaption = "Värmeledningsförmåga",
        .PermeabilityCaption = "Ångpermeabilitet",
        .RValueNote = "(Värmemotstånd)",
        .MoistureResistanceNote = "(Ånggenomgångmotstånd)",
        .ResultCaptions = {"Värmemotstånd:", "Ekvivalent jordtjocklek:", "u0:",
                           "Temperatur, isoleringens undersida:", "Ånghalten i marken:",
                           "Temperatur, överkant betong:", "Delta T",
                           "Ånghalt, överkant betong:", "RF, överkant betong:",
                           "RF, underkant av golvtäckning i juli:"},
        .FloorColumn = "Golv",
        .FloorHeatResistanceColumn = "Total Värmemotstånd",
        .FloorVapourResistanceColumn = "Tot Ånggenomgåndsmotstånd",
        .ConcreteColumn = "Betong",
        .ConcreteConductivityColumn = "Värmeledningsförmåga",
        .ConcretePermeabilityColumn = "Ångpermeabilitet",
        .InsulationColumn = "Isolering",
        .InsulationConductivityColumn = "Värmekonduktivitet",
        .InsulationPermeabilityColumn = "Ångpermeabilitet",
        .SoilColumn = "Mark",
        .SoilConductivityColumn = "Värmeledningsförmågan",
        .CityColumn = "Stad",
        .ColumnLeftMm = {0.0, 65.6, 91.0, 131.2},
        .ColumnRightMm = {65.9, 91.3, 131.5, 190.8},
        .ConductivityCaptionLeftMm = 93.1,
        .BodyLeftMm = {69.8, 93.1, 133.3},
        .RValueNoteLeftMm = 103.7,
        .MoistureResistanceNoteLeftMm = 148.2,
        .ResultBoxNames = {"Edit6", "Edit7", "Edit8", "Edit10", "Edit9", "Edit11", "Edit15",
                           "Edit12", "Edit13", "Edit14"},
    };
    return texts;
}
