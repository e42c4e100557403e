// The editor and the calculation window of its language share the current rows: a
// pending change is what Calculate reads, a lookup pick posts it and moves the grid's
// highlight, a dragged column changes what Calculate reads.
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "EditorTestSupport.h"
#include "ui/TDBLookupComboBox.h"
#include "ui/Unit2.h"
#include "ui/Unit5.h"

using namespace EditorTest;

class EditorCalcTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pendingChangeIsReadThenPostedByAPick();
    void openCellIsStoredWhenTheUserTurnsToTheCalculation();
    void draggedColumnChangesTheInputs();

private:
    QString Calculate();

    std::unique_ptr<TEnvironment> Env;
    std::unique_ptr<TForm5> Editor;
    std::unique_ptr<TFormEng> Calc;
    TDBGrid* Grid = nullptr;
    TTable* Cities = nullptr;
    QString Path;
};

void EditorCalcTest::init()
{
    Env = std::make_unique<TEnvironment>();
    Calc = std::make_unique<TFormEng>();
    Editor = std::make_unique<TForm5>();
    Calc->BindTables(Editor->Tables());
    // The test locale reads a full stop.
    Calc->Edit4->setText(QStringLiteral("0.1"));
    Calc->Edit5->setText(QStringLiteral("0.1"));
    Grid = Editor->Grid(1);
    Cities = Editor->Tables()->Table(1);
    Path = Env->Home.TablePath(QStringLiteral("CityEng.DB"));
}

void EditorCalcTest::cleanup()
{
    QVERIFY(Env->Boxes.Take().isEmpty());
    Editor.reset();
    Calc.reset();
    Env.reset();
}

QString EditorCalcTest::Calculate()
{
    Calc->Edit9->clear();
    QTest::mouseClick(Calc->Button1, Qt::LeftButton);
    return Calc->Edit9->text();  // the ground temperature, which follows the city's
}

void EditorCalcTest::pendingChangeIsReadThenPostedByAPick()
{
    QVERIFY(ShowActive(Calc.get()));
    const QString fromFile = Calculate();
    QVERIFY(!fromFile.isEmpty());

    // Changed in the grid, left in the row and the window hidden: pending, not written.
    QVERIFY(ShowActive(Editor.get()));
    Grid->setFocus();
    Key(Grid, Qt::Key_Right);
    Type(Grid, QStringLiteral("-5"));
    Key(Grid, Qt::Key_Tab);
    QTest::mouseClick(Editor->Button1, Qt::LeftButton);
    QVERIFY(!Editor->isVisible());
    QCOMPARE(Cities->State(), TDataSetState::Edit);
    QCOMPARE(StoredRows(Path)[0][1], QStringLiteral("9.2"));

    // The next calculation reads the pending value.
    QVERIFY(ShowActive(Calc.get()));
    const QString pending = Calculate();
    QVERIFY(pending != fromFile);
    QVERIFY(pending.toDouble() < fromFile.toDouble());

    // A pick in the city box posts it first, and moves the hidden grid's highlight.
    Calc->CityLookupComboBox->setFocus();
    QTest::keyClicks(Calc->CityLookupComboBox, QStringLiteral("Kal"));
    QCOMPARE(Calc->CityLookupComboBox->ShownName(), QStringLiteral("Kalmar"));
    QCOMPARE(StoredRows(Path)[0][1], QStringLiteral("-5"));
    QCOMPARE(Cities->State(), TDataSetState::Browse);
    QCOMPARE(Grid->currentIndex().row(), 3);
    QCOMPARE(Grid->TableModel()->headerData(3, Qt::Vertical, TTableModel::IndicatorRole).toInt(),
             int(TTableModel::BrowseIndicator));

    // A move in the editor changes what Calculate uses, not what the box shows.
    QVERIFY(ShowActive(Editor.get()));
    Grid->setFocus();
    Key(Grid, Qt::Key_Home, Qt::ControlModifier);
    QVERIFY(ShowActive(Calc.get()));
    QCOMPARE(Calculate(), pending);
    QCOMPARE(Calc->CityLookupComboBox->ShownName(), QStringLiteral("Kalmar"));
}

void EditorCalcTest::openCellIsStoredWhenTheUserTurnsToTheCalculation()
{
    QVERIFY(ShowActive(Calc.get()));
    const QString fromFile = Calculate();
    QVERIFY(ShowActive(Editor.get()));
    Grid->setFocus();
    Key(Grid, Qt::Key_Right);
    Type(Grid, QStringLiteral("-5"));
    // The cell is still open when the user turns to the other window and calculates.
    QVERIFY(Grid->Editing());
    QVERIFY(ShowActive(Calc.get()));
    QVERIFY(Grid->Editing());
    QCOMPARE(Cities->FieldText(1), QStringLiteral("-5"));
    QVERIFY(Calculate() != fromFile);

    // Text the column cannot take stays in the open cell, unstored, without a message
    // while the user is in the other window; the calculation reads the stored value.
    QVERIFY(ShowActive(Editor.get()));
    Grid->CellEditor()->selectAll();
    Type(Grid, QStringLiteral("x"));
    QVERIFY(ShowActive(Calc.get()));
    QVERIFY(Env->Boxes.Take().isEmpty());
    QCOMPARE(Grid->CellEditor()->text(), QStringLiteral("x"));
    QCOMPARE(Cities->FieldText(1), QStringLiteral("-5"));
    QVERIFY(Calculate() != fromFile);
    // Cancel in the editor's navigator, back in the editor: the refused text comes up
    // first, as for any move away from the cell.
    QVERIFY(ShowActive(Editor.get()));
    Press(Editor->Navigator(1), TDBNavigator::Cancel);
    QCOMPARE(WaitForBoxes(Env->Boxes, 1).size(), 1);
    QCOMPARE(Cities->State(), TDataSetState::Edit);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid->CellEditor()));
    Key(Grid, Qt::Key_Escape);
    Key(Grid, Qt::Key_Escape);
    QCOMPARE(Cities->State(), TDataSetState::Browse);
    QCOMPARE(Calculate(), fromFile);
}

void EditorCalcTest::draggedColumnChangesTheInputs()
{
    QVERIFY(ShowActive(Calc.get()));
    const QString stored = Calculate();
    // The vapour content dragged before the temperature in the shown editor: Calculate
    // takes it as the temperature.
    Editor->show();
    Grid->horizontalHeader()->moveSection(2, 1);
    const QString swapped = Calculate();
    QVERIFY(swapped != stored);
    QVERIFY(Env->Boxes.Take().isEmpty());
    // Dragged back, the inputs are as they were.
    Grid->horizontalHeader()->moveSection(2, 1);
    QCOMPARE(Calculate(), stored);
    // Same result as a table that really holds the swapped values.
    Cities->SetFieldText(1, QStringLiteral("7.13"));
    Cities->SetFieldText(2, QStringLiteral("9.2"));
    QCOMPARE(Calculate(), swapped);
    Cities->Cancel();
}

QTEST_MAIN(EditorCalcTest)
#include "editor_calc_test.moc"
