// The report form shared by both languages: the page, its fill and its preview.
#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <exception>
#include <functional>
#include <optional>

#include "report/TReportInput.h"
#include "report/TReportPage.h"
#include "report/TSketchSurface.h"

class QPushButton;

// Everything that differs between the two languages' pages.
struct TReportTexts {
    QString NameCaption, DateCaption, ProjectCaption, ContactCaption;  // title band
    QString ResultsHeading;
    // Materials grid captions (QRLabel8, 9, 43, 44) and the two unit notes (45, 46).
    QString FloorCaption, ThicknessCaption, ConductivityCaption, PermeabilityCaption;
    QString RValueNote, MoistureResistanceNote;
    // Result captions in page order (QRLabel13..18, 22, 19..21).
    std::array<QString, 10> ResultCaptions;
    // Column names of the language's tables.
    QString FloorColumn, FloorHeatResistanceColumn, FloorVapourResistanceColumn;
    QString ConcreteColumn, ConcreteConductivityColumn, ConcretePermeabilityColumn;
    QString InsulationColumn, InsulationConductivityColumn, InsulationPermeabilityColumn;
    QString SoilColumn, SoilConductivityColumn, CityColumn;
    // Grid column edges in mm: columns 1..4 from left to right.
    std::array<double, 4> ColumnLeftMm;
    std::array<double, 4> ColumnRightMm;
    double ConductivityCaptionLeftMm;       // QRLabel43
    std::array<double, 3> BodyLeftMm;       // body cells of columns 2..4
    double RValueNoteLeftMm;                // QRLabel45
    double MoistureResistanceNoteLeftMm;    // QRLabel46
    // The calculation window's boxes that show the results, in page order.
    std::array<QString, 10> ResultBoxNames;
};

class TReportForm : public QWidget {
    Q_OBJECT
public:
    // The page of QuickRep1 is built from Texts; the form itself is never shown.
    explicit TReportForm(const TReportTexts& Texts, QWidget* parent = nullptr);
    ~TReportForm() override;

    TReportPage QuickRep1;
    QPushButton* Button1;  // never shown; its click runs Button1Click

    // Fill and preview: copies the input into the page, draws the sketch, prepares the
    // page and shows it in a preview; returns when that preview has been closed.
    // Throws ConversionError or FloatingPointError for the thicknesses; no preview then.
    void Button1Click();

    // Steps 1 to 8 of Button1Click alone: the input copied into QuickRep1, the sketch drawn.
    void Fill();
    // QuickRep1 ready to print: database texts of the current rows and today's date.
    TReportPage Prepared() const;

    // Where Button1Click takes the windows' texts from (set by the application).
    void SetInputSource(std::function<TReportInput()> source);
    // Display texts of the current rows of the language's tables, read when preparing.
    void SetTableSource(TDisplayTextSource source);

    // The result texts read from the calculation window's boxes by box name.
    TReportResultTexts ResultTextsFromBoxes(const std::function<QString(const QString&)>& BoxText) const;

    // The sketch as last drawn; empty before the first one.
    QImage SketchImage() const;

signals:
    // The preview window of a Button1Click has been closed.
    void AfterPreview();

private:
    TReportTexts FTexts;
    std::function<TReportInput()> FInputSource;
    TDisplayTextSource FTableSource;
    std::optional<TSketchSurface> FSketch;  // created by the first sketch of the run

    void ShowPreview(const TReportPage& prepared);
};
