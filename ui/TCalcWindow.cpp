#include "ui/TCalcWindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <stdexcept>
#include <utility>

#include "calc/numtext.h"
#include "calc/slab.h"
#include "data/NumberText.h"
#include "data/TErrorGuard.h"
#include "data/TTableSet.h"
#include "ui/TDBLookupComboBox.h"

namespace {

// Geometry of the input area, in pixels of the client area.
constexpr int LeftLabelX = 8;
constexpr int LeftLabelWidth = 186;
constexpr int LeftBoxX = 196;
constexpr int LeftBoxWidth = 56;
constexpr int RightX = 268;
constexpr int RightBoxX = 364;
constexpr int RightBoxWidth = 142;
constexpr int RowHeight = 22;
constexpr int FirstRowY = 10;
constexpr int RowStep = 28;
constexpr int ButtonRowY = 218;
constexpr int ResultsY = 254;

int RowY(int Row) { return FirstRowY + Row * RowStep + (Row > 0 ? 2 : 0); }

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& rect,
                  const QString& hint = {})
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(rect);
    if (!hint.isEmpty())
        label->setToolTip(hint);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, const QRect& rect)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(rect);
    return edit;
}

// The label names the box for screen readers and automation, as it does on screen.
void Name(QLabel* label, QWidget* control)
{
    label->setBuddy(control);
    control->setAccessibleName(QString(label->text()).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified());
}

float ReadBox(const QLineEdit* box, char separator)
{
    return ReadNumber(box->text().toStdString(), separator);
}

}  // namespace

TCalcWindow::TCalcWindow(const TCalcWindowTexts& Texts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      FTexts(Texts)
{
    setWindowTitle(Texts.Caption);
    setFixedSize(Texts.ClientSize);
    BuildInputs();
    BuildButtons();
    BuildResults();
    SetTabOrder();
    ApplyFloorVisibility();
}

void TCalcWindow::BuildInputs()
{
    const TCalcWindowTexts& t = FTexts;
    auto leftLabel = [&](const char* name, const QString& text, int row, const QString& hint = {}) {
        return MakeLabel(this, name, text, QRect(LeftLabelX, RowY(row) + 3, LeftLabelWidth, 16), hint);
    };
    auto leftEdit = [&](const char* name, const QString& text, int row) {
        return MakeEdit(this, name, text, QRect(LeftBoxX, RowY(row), LeftBoxWidth, RowHeight));
    };

    QLabel* cityLabel = MakeLabel(this, "Label5", t.City, QRect(LeftLabelX, RowY(0) + 3, 96, 16));
    CityLookupComboBox = new TDBLookupComboBox(this);
    CityLookupComboBox->setObjectName(QStringLiteral("CityLookupComboBox"));
    CityLookupComboBox->setGeometry(108, RowY(0), LeftBoxX + LeftBoxWidth - 108, RowHeight);
    CityLookupComboBox->setToolTip(QStringLiteral("Select the nearest city."));
    Name(cityLabel, CityLookupComboBox);

    QLabel* label = leftLabel("Label1", t.IndoorTemp, 1, QStringLiteral("Average indoor Temperature"));
    Edit1 = leftEdit("Edit1", QStringLiteral("20"), 1);
    Name(label, Edit1);
    label = leftLabel("Label33", t.MoistureSupplement, 2);
    Edit16 = leftEdit("Edit16", QStringLiteral("4"), 2);
    Name(label, Edit16);
    label = leftLabel("Label3", t.Length, 3, QStringLiteral("Length of the building"));
    Edit3 = leftEdit("Edit3", QStringLiteral("15"), 3);
    Name(label, Edit3);
    label = leftLabel("Label2", t.Width, 4, QStringLiteral("Width of the building"));
    Edit2 = leftEdit("Edit2", QStringLiteral("10"), 4);
    Name(label, Edit2);
    const int concreteRow = t.InsulationAboveConcrete ? 6 : 5;
    const int insulationRow = t.InsulationAboveConcrete ? 5 : 6;
    label = leftLabel("Label10", t.ConcreteThickness, concreteRow, QStringLiteral("Thickness of the concrete slab"));
    Edit5 = leftEdit("Edit5", QStringLiteral(",1"), concreteRow);
    Name(label, Edit5);
    label = leftLabel("Label4", t.InsulationThickness, insulationRow, t.InsulationHint);
    Edit4 = leftEdit("Edit4", QStringLiteral(",1"), insulationRow);
    Name(label, Edit4);

    CheckBox1 = new QCheckBox(t.FloorCheck, this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(RightX, RowY(1), 506 - RightX, RowHeight);
    CheckBox1->setToolTip(QStringLiteral(
        "Is there a vapour barrior between the concrete slab and a wooden floor?"));
    CheckBox1->setAccessibleName(t.FloorCheck);
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { Guarded([this] { CheckBox1Click(); }); });

    auto rightLookup = [&](const char* labelName, const QString& text, const char* boxName, int row,
                           QLabel** labelOut = nullptr) {
        QLabel* l = MakeLabel(this, labelName, text, QRect(RightX, RowY(row) + 3, RightBoxX - RightX - 4, 16));
        auto* box = new TDBLookupComboBox(this);
        box->setObjectName(QLatin1String(boxName));
        box->setGeometry(RightBoxX, RowY(row), RightBoxWidth, RowHeight);
        Name(l, box);
        if (labelOut)
            *labelOut = l;
        return box;
    };
    DBLookupComboBox1 = rightLookup("Label6", t.FloorConfig, "DBLookupComboBox1", 2, &Label6);

    CheckBox2 = new QCheckBox(t.BarrierCheck, this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(RightX, RowY(3), 506 - RightX, RowHeight);
    CheckBox2->setAccessibleName(t.BarrierCheck);

    DBLookupComboBox2 = rightLookup("Label7", t.Concrete, "DBLookupComboBox2", 4);
    DBLookupComboBox3 = rightLookup("Label8", t.Insulation, "DBLookupComboBox3", 5);
    DBLookupComboBox4 = rightLookup("Label9", t.Soil, "DBLookupComboBox4", 6);
}

void TCalcWindow::BuildButtons()
{
    const TCalcWindowTexts& t = FTexts;
    auto button = [&](const char* name, const QString& text, const QRect& rect) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(rect);
        b->setAutoDefault(false);
        b->setAccessibleName(QString(text).remove(QLatin1Char('&')));
        return b;
    };
    Button4 = button("Button4", t.SwitchLanguage, QRect(386, 8, 120, 25));
    Button1 = button("Button1", t.Calculate, QRect(8, ButtonRowY, 118, 25));
    Button3 = button("Button3", t.Exit, QRect(134, ButtonRowY, 118, 25));
    Button2 = button("Button2", t.EditDatabases, QRect(260, ButtonRowY, 120, 25));
    Button5 = button("Button5", t.Report, QRect(386, ButtonRowY, 120, 25));
    // Only the look: Enter is routed by keyPressEvent, as plain windows have no default button.
    Button1->setDefault(t.CalculateIsDefault);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
}

void TCalcWindow::BuildResults()
{
    const TCalcWindowTexts& t = FTexts;
    GroupBox1 = new QGroupBox(t.ResultsCaption, this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, ResultsY, 498, t.ClientSize.height() - ResultsY - 8);

    // Row tops inside the frame; two-line captions need a taller row.
    const bool twoLineRows = t.ResultCaptions[6].contains(QLatin1Char('\n'));
    std::array<int, 9> top{};
    // Without a caption the frame's title row is free for the first result.
    int y = t.ResultsCaption.isEmpty() ? 14 : 22;
    for (int row = 0; row < 9; ++row) {
        const bool tall = t.ResultCaptions[row].contains(QLatin1Char('\n'));
        top[row] = y + (tall ? 6 : 0);
        y += tall ? 30 : (twoLineRows ? 24 : 22);
    }

    static const char* const captionNames[9] = {"Label11", "Label12", "Label13", "Label14", "Label15",
                                                "Label16", "Label17", "Label27", "Label28"};
    static const char* const secondLineNames[9] = {nullptr, nullptr, nullptr, nullptr, nullptr,
                                                   nullptr, "Label18", nullptr, "Label30"};
    static const char* const unitNames[9] = {"Label19", "Label20", "Label21", "Label22", "Label23",
                                             "Label24", "Label25", "Label26", "Label29"};
    static const char* const units[9] = {"m^2K/W", "m", "-", "\u00b0C", "g/m^3", "\u00b0C", "g/m^3", "%", "%"};
    const char* boxNames[9] = {"Edit6", "Edit7", "Edit8", "Edit9", "Edit10", "Edit11", "Edit12", "Edit13", "Edit14"};
    if (t.GroundTempInEdit10)
        std::swap(boxNames[3], boxNames[4]);

    std::array<QLineEdit*, 9> boxes{};
    Label30 = nullptr;
    for (int row = 0; row < 9; ++row) {
        const QStringList lines = t.ResultCaptions[row].split(QLatin1Char('\n'));
        QLabel* caption = nullptr;
        if (lines.size() == 2) {
            caption = MakeLabel(GroupBox1, captionNames[row], lines[0], QRect(10, top[row] - 6, 230, 15));
            QLabel* second = MakeLabel(GroupBox1, secondLineNames[row], lines[1], QRect(10, top[row] + 9, 230, 15));
            if (row == 8)
                Label30 = second;
        } else {
            caption = MakeLabel(GroupBox1, captionNames[row], lines[0], QRect(10, top[row] + 3, 232, 16));
        }
        boxes[row] = MakeEdit(GroupBox1, boxNames[row], QString(), QRect(244, top[row], 92, 21));
        boxes[row]->setAccessibleName(QString(t.ResultCaptions[row]).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified());
        caption->setBuddy(boxes[row]);
        QLabel* unit = MakeLabel(GroupBox1, unitNames[row], QString::fromUtf8(units[row]),
                                 QRect(342, top[row] + 3, 56, 16));
        if (row == 8) {
            Label28 = caption;
            Label29 = unit;
        }
    }
    Edit6 = boxes[0];
    Edit7 = boxes[1];
    Edit8 = boxes[2];
    Edit9 = GroupBox1->findChild<QLineEdit*>(QStringLiteral("Edit9"));
    Edit10 = GroupBox1->findChild<QLineEdit*>(QStringLiteral("Edit10"));
    Edit11 = boxes[5];
    Edit12 = boxes[6];
    Edit13 = boxes[7];
    Edit14 = boxes[8];

    // Delta T stands right of the ground rows, its caption above the box.
    QLabel* deltaLabel = MakeLabel(GroupBox1, "Label31", QStringLiteral("Delta T"), QRect(404, top[3] + 3, 80, 16));
    Edit15 = MakeEdit(GroupBox1, "Edit15", QString(), QRect(404, top[4], 70, 21));
    Name(deltaLabel, Edit15);
    MakeLabel(GroupBox1, "Label32", QString::fromUtf8("\u00b0C"), QRect(478, top[4] + 3, 18, 16));
}

void TCalcWindow::SetTabOrder()
{
    QList<QWidget*> order = {CityLookupComboBox, Edit1, Edit3, Edit2, Edit4, Edit5, CheckBox1,
                             DBLookupComboBox1, CheckBox2, DBLookupComboBox2, DBLookupComboBox3,
                             DBLookupComboBox4, Button1, Button2, Button3, Edit6, Edit7, Edit8, Edit9};
    const QList<QWidget*> resultFrame = {Edit10, Edit11, Edit12, Edit13, Edit14, Edit15};
    if (FTexts.SwitchBeforeResultsInTabOrder) {
        order << Button4 << resultFrame;
    } else {
        order << resultFrame << Button4;
    }
    order << Edit16 << Button5;
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    for (QWidget* w : findChildren<QWidget*>())
        if (!order.contains(w))
            w->setFocusPolicy(Qt::NoFocus);
}

void TCalcWindow::BindTables(TTableSet* Tables)
{
    FTables = Tables;
    CityLookupComboBox->SetListSource(Tables->DataSource(1), FTexts.CityField);
    DBLookupComboBox2->SetListSource(Tables->DataSource(2), FTexts.ConcreteField);
    DBLookupComboBox3->SetListSource(Tables->DataSource(3), FTexts.InsulationField);
    DBLookupComboBox4->SetListSource(Tables->DataSource(4), FTexts.SoilField);
    DBLookupComboBox1->SetListSource(Tables->DataSource(5), FTexts.FloorField);
}

TTableSet* TCalcWindow::Tables() const
{
    return FTables;
}

void TCalcWindow::ApplyFloorVisibility()
{
    const bool floor = CheckBox1->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(Label6), static_cast<QWidget*>(DBLookupComboBox1),
                       static_cast<QWidget*>(CheckBox2), static_cast<QWidget*>(Label28),
                       static_cast<QWidget*>(Label29), static_cast<QWidget*>(Edit14),
                       static_cast<QWidget*>(Label30)})
        if (w)
            w->setVisible(floor);
}

void TCalcWindow::CheckBox1Click()
{
    ApplyFloorVisibility();
}

void TCalcWindow::FormActivate()
{
    ApplyFloorVisibility();
}

void TCalcWindow::Button1Click()
{
    Guarded([this] { Calculate(); });
}

void TCalcWindow::Button2Click()
{
    Guarded([this] { if (OnEditDatabases) OnEditDatabases(); });
}

void TCalcWindow::Button3Click()
{
    Guarded([this] { if (OnExit) OnExit(); });
}

void TCalcWindow::Button4Click()
{
    Guarded([this] { if (OnSwitchLanguage) OnSwitchLanguage(); });
}

void TCalcWindow::Button5Click()
{
    Guarded([this] { if (OnReport) OnReport(); });
}

QLineEdit* TCalcWindow::GroundTempBox() const
{
    return FTexts.GroundTempInEdit10 ? Edit10 : Edit9;
}

QLineEdit* TCalcWindow::GroundVapourBox() const
{
    return FTexts.GroundTempInEdit10 ? Edit9 : Edit10;
}

void TCalcWindow::Calculate()
{
    if (!FTables)
        throw std::runtime_error("The reference tables are not open");
    const char separator = LocaleDecimalSeparator();

    // The order of the reads decides which bad text is reported first.
    TSlabInput input;
    input.IndoorTemp = ReadBox(Edit1, separator);
    input.Width = ReadBox(Edit2, separator);
    input.Length = ReadBox(Edit3, separator);
    input.InsulationThickness = ReadBox(Edit4, separator);
    input.ConcreteThickness = ReadBox(Edit5, separator);
    FTables->ReadSlabRecords(input, separator);
    input.MoistureSupplement = ReadBox(Edit16, separator);

    // Warnings only: the calculation goes on whatever they found.
    if (input.Width < 5)
        WarnOutOfRange(FTexts.WidthMessage);
    if (input.Width > input.Length)
        WarnOutOfRange(FTexts.WidthLengthMessage);
    if (input.ConcreteThickness <= 0)
        WarnOutOfRange(FTexts.ConcreteMessage);
    if (input.InsulationThickness < 0)
        WarnOutOfRange(FTexts.InsulationMessage);

    input.HasFloorCovering = CheckBox1->isChecked();
    input.HasVapourBarrier = CheckBox2->isChecked();
    input.Floor.HeatResistance = input.HasFloorCovering ? FTables->ReadFloorHeatResistance(separator) : 0.0f;

    const TSlabResult result = CalculateSlab(input);

    auto show = [](QLineEdit* box, float value) { box->setText(QString::fromStdString(FormatResult(value))); };
    show(Edit6, result.TotalResistance);
    show(Edit7, result.EquivalentThickness);
    show(Edit8, result.U0);
    show(GroundTempBox(), result.GroundTemp);
    show(GroundVapourBox(), result.GroundVapourContent);
    show(Edit11, result.ConcreteTopTemp);
    show(Edit12, result.ConcreteTopVapourContent);
    show(Edit13, result.ConcreteTopRH);
    if (result.JulyRH)
        show(Edit14, *result.JulyRH);
    show(Edit15, result.DeltaT);
}

void TCalcWindow::WarnOutOfRange(const QString& Message)
{
    QMessageBox box(QMessageBox::NoIcon, FTexts.RangeCaption, Message, QMessageBox::Ok, this);
    box.exec();
}

void TCalcWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Guarded([this] { FormActivate(); });
    QWidget::changeEvent(event);
}

void TCalcWindow::closeEvent(QCloseEvent* event)
{
    // The close button ends the program; the application decides when the windows go.
    event->ignore();
    Guarded([this] { if (OnExit) OnExit(); });
}

void TCalcWindow::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && FTexts.CalculateIsDefault) {
        QWidget* focus = focusWidget();
        if (!qobject_cast<QAbstractButton*>(focus)) {
            Button1->click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}
