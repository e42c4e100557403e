// What a report copies from the windows at the moment it is made: plain texts and a tick.
#pragma once

#include <QString>
#include <QStringList>

// The calculation window's result texts, as its boxes show them.
struct TReportResultTexts {
    QString TotalResistance;
    QString EquivalentThickness;
    QString U0;
    QString GroundTemp;
    QString GroundVapourContent;
    QString ConcreteTopTemp;
    QString DeltaT;
    QString ConcreteTopVapourContent;
    QString ConcreteTopRH;
    QString JulyRH;
};

struct TReportInput {
    bool HasFloorStructure = false;   // the calculation window's CheckBox1
    QString InsulationThicknessText;  // Edit4, as typed
    QString ConcreteThicknessText;    // Edit5, as typed
    TReportResultTexts Results;
    QString Name;              // the details dialog's Edit1
    QString Project;           // Edit2
    QStringList ContactLines;  // Memo1's lines as the box shows them
};
