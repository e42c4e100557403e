#include "report/TReportForm.h"

#include "data/NumberText.h"
#include "data/TErrorGuard.h"

#include <QDate>
#include <QEventLoop>
#include <QLocale>
#include <QPushButton>

#include <memory>
#include <stdexcept>

#include "calc/numtext.h"
#include "report/TPrintPreview.h"

namespace {

// Element makers for the page description below; positions in mm from the band.
TReportElement Make(const char* name, TElementKind kind, double left, double top) {
    TReportElement e;
    e.Name = QString::fromLatin1(name);
    e.Kind = kind;
    e.LeftMm = left;
    e.TopMm = top;
    return e;
}

TReportElement Frame(const char* name, double left, double top, double width, double height) {
    TReportElement e = Make(name, TElementKind::Frame, left, top);
    e.WidthMm = width;
    e.HeightMm = height;
    return e;
}

TReportElement Label(const char* name, double left, double top, const QString& text,
                     double roomMm = 0, double pointSize = TReportPage::DefaultFontPt) {
    TReportElement e = Make(name, TElementKind::Text, left, top);
    e.WidthMm = roomMm;
    e.FontPt = pointSize;
    e.Text = text;
    return e;
}

TReportElement Data(const char* name, double left, double top, int table, const QString& column,
                    double roomMm) {
    TReportElement e = Make(name, TElementKind::DataText, left, top);
    e.WidthMm = roomMm;
    e.TableNumber = table;
    e.ColumnName = column;
    return e;
}

enum Table { Cities = 1, Concretes, Insulations, Soils, Floors };

constexpr double GridRightMm = 190.8;
constexpr double GapMm = 1.0;  // kept free before the next column's edge

// The result rows in page order: caption, value and unit elements and the unit text.
struct TResultRow {
    const char* Caption;
    const char* Value;
    const char* Unit;
    const char* UnitText;
    QString TReportResultTexts::*Result;
};

const std::array<TResultRow, 10> ResultRows{{
    {"QRLabel13", "QRLabel23", "QRLabel33", "m^2K/W", &TReportResultTexts::TotalResistance},
    {"QRLabel14", "QRLabel24", "QRLabel34", "m", &TReportResultTexts::EquivalentThickness},
    {"QRLabel15", "QRLabel25", "QRLabel35", "-", &TReportResultTexts::U0},
    {"QRLabel16", "QRLabel26", "QRLabel36", "°C", &TReportResultTexts::GroundTemp},
    {"QRLabel17", "QRLabel27", "QRLabel37", "g/m^3", &TReportResultTexts::GroundVapourContent},
    {"QRLabel18", "QRLabel28", "QRLabel38", "°C", &TReportResultTexts::ConcreteTopTemp},
    {"QRLabel22", "QRLabel29", "QRLabel39", "°C", &TReportResultTexts::DeltaT},
    {"QRLabel19", "QRLabel30", "QRLabel40", "g/m^3", &TReportResultTexts::ConcreteTopVapourContent},
    {"QRLabel20", "QRLabel31", "QRLabel41", "%", &TReportResultTexts::ConcreteTopRH},
    {"QRLabel21", "QRLabel32", "QRLabel42", "%", &TReportResultTexts::JulyRH},
}};

// Printed only with a floor structure: the floor-construction row and the July row.
const std::array<const char*, 8> FloorDependent{"QRDBText5", "QRDBText10", "QRLabel45", "QRDBText12",
                                                "QRLabel46", "QRLabel21",  "QRLabel32", "QRLabel42"};

TReportBand PageHeader() {
    return {"PageHeaderBand1", TBandKind::PageHeader, 0, 10.6,
            {Frame("QRShape2", 0.0, 0.0, 188.6, 10.8),
             Label("QRLabel2", 10.6, 2.1, QStringLiteral("Vilo"), 0, 16),
             Label("QRLabel47", 29.6, 4.2, QStringLiteral("Ver. 20070627"))}};
}

TReportBand Title(const TReportTexts& t) {
    constexpr double ValueLeftMm = 40.2;
    constexpr double RoomMm = 188.6 - ValueLeftMm - 2.0;  // inside the frame
    TReportElement memo = Make("QRMemo1", TElementKind::Memo, ValueLeftMm, 21.2);
    memo.WidthMm = RoomMm;
    // 47.3: the title band ends where the detail band starts, 67.9 mm down the paper.
    return {"TitleBand1", TBandKind::Title, 0, 47.3,
            {Frame("QRShape1", 0.0, 0.0, 188.6, 46.8),
             Label("QRLabel1", 10.6, 2.1, t.NameCaption),
             Label("QRLabel10", ValueLeftMm, 2.1, QString(), RoomMm),
             Label("QRLabel5", 10.6, 8.5, t.DateCaption),
             Make("QRSysData1", TElementKind::Date, ValueLeftMm, 8.5),
             Label("QRLabel4", 10.6, 14.8, t.ProjectCaption),
             Label("QRLabel11", ValueLeftMm, 14.8, QString(), RoomMm),
             Label("QRLabel3", 10.6, 21.2, t.ContactCaption),
             memo}};
}

TReportBand Detail(const TReportTexts& t) {
    TReportBand band{"DetailBand1", TBandKind::Detail, 0, 211.7, {}};
    auto& e = band.Elements;
    e.push_back(Label("QRLabel12", 10.6, 2.1, t.ResultsHeading, 0, 16));

    // Materials grid: header row 10.6..23.5, body row 23.3..68.0.
    const auto& l = t.ColumnLeftMm;
    const auto& r = t.ColumnRightMm;
    const std::array<std::array<const char*, 2>, 4> shapes{
        {{"QRShape5", "QRShape4"}, {"QRShape3", "QRShape6"}, {"QRShape9", "QRShape7"}, {"QRShape10", "QRShape8"}}};
    for (int c = 0; c < 4; ++c) {
        e.push_back(Frame(shapes[c][0], l[c], 10.6, r[c] - l[c], 23.5 - 10.6));
        e.push_back(Frame(shapes[c][1], l[c], 23.3, r[c] - l[c], 68.0 - 23.3));
    }
    const double col1 = 2.1;
    const auto& b = t.BodyLeftMm;
    const double room1 = l[1] - col1 - GapMm;
    const double room2 = l[2] - b[0] - GapMm;
    const double room3 = l[3] - b[1] - GapMm;
    const double room4 = GridRightMm - b[2] - GapMm;
    e.push_back(Label("QRLabel8", col1, 14.8, t.FloorCaption, room1));
    e.push_back(Label("QRLabel9", 69.8, 14.8, t.ThicknessCaption, l[2] - 69.8 - GapMm));
    e.push_back(Label("QRLabel43", t.ConductivityCaptionLeftMm, 14.8, t.ConductivityCaption,
                      l[3] - t.ConductivityCaptionLeftMm - GapMm));
    e.push_back(Label("QRLabel44", 148.2, 14.8, t.PermeabilityCaption, GridRightMm - 148.2 - GapMm));

    e.push_back(Data("QRDBText5", col1, 25.4, Floors, t.FloorColumn, room1));
    e.push_back(Data("QRDBText10", b[1], 25.4, Floors, t.FloorHeatResistanceColumn,
                     t.RValueNoteLeftMm - b[1] - GapMm));
    e.push_back(Label("QRLabel45", t.RValueNoteLeftMm, 25.4, t.RValueNote,
                      l[3] - t.RValueNoteLeftMm - GapMm));
    e.push_back(Data("QRDBText12", b[2], 25.4, Floors, t.FloorVapourResistanceColumn,
                     t.MoistureResistanceNoteLeftMm - b[2] - GapMm));
    e.push_back(Label("QRLabel46", t.MoistureResistanceNoteLeftMm, 25.4, t.MoistureResistanceNote,
                      GridRightMm - t.MoistureResistanceNoteLeftMm - GapMm));

    e.push_back(Data("QRDBText2", col1, 31.8, Concretes, t.ConcreteColumn, room1));
    e.push_back(Label("QRLabel6", b[0], 31.8, QString(), room2));
    e.push_back(Data("QRDBText6", b[1], 31.8, Concretes, t.ConcreteConductivityColumn, room3));
    e.push_back(Data("QRDBText8", b[2], 31.8, Concretes, t.ConcretePermeabilityColumn, room4));

    e.push_back(Data("QRDBText3", col1, 38.1, Insulations, t.InsulationColumn, room1));
    e.push_back(Label("QRLabel7", b[0], 38.1, QString(), room2));
    e.push_back(Data("QRDBText7", b[1], 38.1, Insulations, t.InsulationConductivityColumn, room3));
    e.push_back(Data("QRDBText9", b[2], 38.1, Insulations, t.InsulationPermeabilityColumn, room4));

    e.push_back(Data("QRDBText4", col1, 44.5, Soils, t.SoilColumn, room1));
    e.push_back(Data("QRDBText11", b[1], 44.5, Soils, t.SoilConductivityColumn, room3));

    e.push_back(Data("QRDBText1", 23.3, 78.3, Cities, t.CityColumn, GridRightMm - 23.3 - GapMm));

    TReportElement sketch = Make("QRImage1", TElementKind::Picture, 44.5, 86.8);
    sketch.WidthMm = 44.7;
    sketch.HeightMm = 32.0;
    e.push_back(sketch);

    constexpr double CaptionLeftMm = 44.5, ValueLeftMm = 120.7, UnitLeftMm = 143.9;
    for (int k = 0; k < 10; ++k) {
        const double top = 141.8 + 6.35 * k;
        const TResultRow& row = ResultRows[k];
        e.push_back(Label(row.Caption, CaptionLeftMm, top, t.ResultCaptions[k],
                          ValueLeftMm - CaptionLeftMm - GapMm));
        e.push_back(Label(row.Value, ValueLeftMm, top, QString(), UnitLeftMm - ValueLeftMm - GapMm));
        e.push_back(Label(row.Unit, UnitLeftMm, top, QString::fromUtf8(row.UnitText)));
    }
    return band;
}

}  // namespace

TReportForm::TReportForm(const TReportTexts& Texts, QWidget* parent)
    : QWidget(parent), Button1(new QPushButton(this)), FTexts(Texts) {
    QuickRep1.Bands = {PageHeader(), Title(Texts), Detail(Texts)};
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, [this] { Guarded([this] { Button1Click(); }); });
}

TReportForm::~TReportForm() = default;

void TReportForm::SetInputSource(std::function<TReportInput()> source) { FInputSource = std::move(source); }

void TReportForm::SetTableSource(TDisplayTextSource source) { FTableSource = std::move(source); }

TReportResultTexts TReportForm::ResultTextsFromBoxes(
    const std::function<QString(const QString&)>& BoxText) const {
    TReportResultTexts texts;
    for (int k = 0; k < 10; ++k) texts.*ResultRows[k].Result = BoxText(FTexts.ResultBoxNames[k]);
    return texts;
}

QImage TReportForm::SketchImage() const { return FSketch ? FSketch->Image() : QImage(); }

void TReportForm::Button1Click() {
    Fill();
    ShowPreview(Prepared());
    emit AfterPreview();
}

TReportPage TReportForm::Prepared() const {
    const QString date = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    return QuickRep1.Prepared(FTableSource, date);
}

void TReportForm::Fill() {
    if (!FInputSource) throw std::logic_error("The report has no source for its texts.");
    QuickRep1.Element("QRMemo1").Lines.clear();
    const TReportInput input = FInputSource();
    for (const char* name : FloorDependent) QuickRep1.Element(name).Enabled = input.HasFloorStructure;
    QuickRep1.Element("QRLabel6").Text = input.ConcreteThicknessText;
    QuickRep1.Element("QRLabel7").Text = input.InsulationThicknessText;

    const char separator = LocaleDecimalSeparator();
    const float insulationM = ReadNumber(input.InsulationThicknessText.toStdString(), separator);
    const float concreteM = ReadNumber(input.ConcreteThicknessText.toStdString(), separator);
    if (!FSketch) FSketch.emplace();
    DrawLayerSketch(*FSketch, insulationM, concreteM, input.HasFloorStructure);
    QuickRep1.Element("QRImage1").Image = FSketch->Image();

    QuickRep1.Element("QRLabel10").Text = input.Name;
    QuickRep1.Element("QRLabel11").Text = input.Project;
    QuickRep1.Element("QRMemo1").Lines.append(input.ContactLines);
    for (const TResultRow& row : ResultRows) QuickRep1.Element(row.Value).Text = input.Results.*row.Result;
}

void TReportForm::ShowPreview(const TReportPage& prepared) {
    // Modeless, with a loop of its own: the other windows stay usable meanwhile.
    const auto preview = std::make_unique<TPrintPreview>(prepared);
    QEventLoop loop;
    connect(preview.get(), &TPrintPreview::Closed, &loop, &QEventLoop::quit);
    preview->Open();
    loop.exec();
}
