// The calculation window shared by both languages: six typed inputs, five lookup
// boxes, two tick boxes, Calculate and the ten result boxes. The language windows
// differ only by their texts and a few bindings (TCalcWindowTexts).
#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TDBLookupComboBox;
class TTableSet;

struct TCalcWindowTexts {
    QString Caption;
    QString City, IndoorTemp, MoistureSupplement, Length, Width, ConcreteThickness,
        InsulationThickness;
    QString FloorCheck, FloorConfig, BarrierCheck, Concrete, Insulation, Soil;
    QString Calculate, Exit, EditDatabases, Report, SwitchLanguage;
    QString ResultsCaption;
    // Result rows 1..9; a '\n' splits a caption over two labels.
    std::array<QString, 9> ResultCaptions;
    QString RangeCaption, WidthMessage, WidthLengthMessage, ConcreteMessage, InsulationMessage;
    QString InsulationHint;  // empty: none
    // Name columns the lookup boxes list and key on.
    QString CityField, FloorField, ConcreteField, InsulationField, SoilField;
    // Bindings in which the two windows differ.
    bool InsulationAboveConcrete = false;
    bool GroundTempInEdit10 = false;  // the crossed Edit9/Edit10
    bool CalculateIsDefault = false;
    bool SwitchBeforeResultsInTabOrder = false;
    QSize ClientSize;
};

class TCalcWindow : public QWidget {
    Q_OBJECT
public:
    // Builds every control, hidden, with Texts; no tables bound yet.
    explicit TCalcWindow(const TCalcWindowTexts& Texts, QWidget* parent = nullptr);

    // Binds the lookup boxes and the calculation's reads to one language's tables.
    void BindTables(TTableSet* Tables);
    // The bound tables, or null.
    TTableSet* Tables() const;

    // Navigation, wired by the application.
    std::function<void()> OnExit;            // Exit and the close button
    std::function<void()> OnEditDatabases;   // Button2
    std::function<void()> OnReport;          // Button5
    std::function<void()> OnSwitchLanguage;  // Button4

    // Handlers named after control and event.
    void Button1Click();  // Calculate
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void CheckBox1Click();
    void FormActivate();

    // Controls, by their names.
    TDBLookupComboBox *CityLookupComboBox, *DBLookupComboBox1, *DBLookupComboBox2,
        *DBLookupComboBox3, *DBLookupComboBox4;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit16;
    QLineEdit *Edit6, *Edit7, *Edit8, *Edit9, *Edit10, *Edit11, *Edit12, *Edit13, *Edit14, *Edit15;
    QCheckBox *CheckBox1, *CheckBox2;
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5;
    QGroupBox* GroupBox1;
    QLabel *Label6, *Label28, *Label29, *Label30;  // floor-structure labels (Label30 English only)

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildInputs();
    void BuildButtons();
    void BuildResults();
    void SetTabOrder();
    void ApplyFloorVisibility();
    void Calculate();
    void WarnOutOfRange(const QString& Message);
    QLineEdit* GroundTempBox() const;
    QLineEdit* GroundVapourBox() const;

    TCalcWindowTexts FTexts;
    TTableSet* FTables = nullptr;
};
