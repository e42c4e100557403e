// Editing in the grids as a user does: typing, the keys of the grid, new rows that
// come and go, refused cell texts, the focus leaving, columns dragged and resized.
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "EditorTestSupport.h"
#include "calc/slab.h"
#include "ui/TDBLookupComboBox.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"

using namespace EditorTest;

namespace {

const QString CityFile = QStringLiteral("CityEng.DB");
const QString TemperatureTitle = QString::fromUtf8("Annual mean temperature (\u00b0C)");

int Indicator(TDBGrid* grid, int row)
{
    return grid->TableModel()->headerData(row, Qt::Vertical, TTableModel::IndicatorRole).toInt();
}

}  // namespace

class EditorGridTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void typedTextReachesTheRowThenTheFile();
    void escapeUndoesTypingThenTheRow();
    void downAppendsAndUpDrops();
    void insertKeyAndTypedNewRowIsStored();
    void movingKeys();
    void ctrlDeleteAsks();
    void refusedCellTextStaysForCorrection();
    void focusLeavingDropsAnUnchangedNewRow();
    void highlightFollowsMovesMadeElsewhere();
    void columnDragAndWidth();
    void languagesKeepTheirOwnTables();

private:
    std::unique_ptr<TEnvironment> Env;
    std::unique_ptr<TForm5> Editor;
    TDBGrid* Grid = nullptr;   // the English city grid
    TTable* Cities = nullptr;
    QString Path;
};

void EditorGridTest::init()
{
    Env = std::make_unique<TEnvironment>();
    Editor = std::make_unique<TForm5>();
    QVERIFY(ShowActive(Editor.get()));
    Grid = Editor->Grid(1);
    Cities = Editor->Tables()->Table(1);
    Path = Env->Home.TablePath(CityFile);
    Grid->setFocus();
}

void EditorGridTest::cleanup()
{
    // No test leaves a box behind unseen.
    QVERIFY(Env->Boxes.Take().isEmpty());
    Editor.reset();
    Env.reset();
}

void EditorGridTest::typedTextReachesTheRowThenTheFile()
{
    Key(Grid, Qt::Key_Right);
    QCOMPARE(Grid->SelectedIndex(), 1);
    // Typing opens the cell with the typed text in place of the old; the first change
    // puts the row into editing.
    Type(Grid, QStringLiteral("3.5"));
    QVERIFY(Grid->Editing());
    QCOMPARE(Grid->CellEditor()->text(), QStringLiteral("3.5"));
    QCOMPARE(Cities->State(), TDataSetState::Edit);
    QCOMPARE(Indicator(Grid, 0), int(TTableModel::EditIndicator));
    QCOMPARE(Cities->FieldText(1), QStringLiteral("9.2"));
    // Leaving the cell stores the text in the row, not yet in the file.
    Key(Grid, Qt::Key_Tab);
    QCOMPARE(Grid->SelectedIndex(), 2);
    QCOMPARE(Cities->FieldText(1), QStringLiteral("3.5"));
    QCOMPARE(StoredRows(Path)[0][1], QStringLiteral("9.2"));
    // Leaving the row writes it.
    Key(Grid, Qt::Key_Escape);  // the cell of column 2 holds no typing
    QCOMPARE(Cities->State(), TDataSetState::Browse);  // Escape without typing dropped the row's change
    QCOMPARE(Cities->FieldText(1), QStringLiteral("9.2"));

    // F2 opens the cell with its text; Enter stores it; Down writes the row.
    Grid->SetSelectedIndex(1);
    Key(Grid, Qt::Key_F2);
    QVERIFY(Grid->Editing());
    QCOMPARE(Grid->CellEditor()->text(), QStringLiteral("9.2"));
    Grid->CellEditor()->setCursorPosition(3);
    Type(Grid, QStringLiteral("5"));
    Key(Grid, Qt::Key_Return);
    QVERIFY(!Grid->Editing());
    QCOMPARE(Cities->FieldText(1), QStringLiteral("9.25"));
    Key(Grid, Qt::Key_Down);
    QCOMPARE(Cities->RecNo(), 1);
    QCOMPARE(Grid->currentIndex(), Grid->TableModel()->index(1, 1));
    QCOMPARE(StoredRows(Path)[0][1], QStringLiteral("9.25"));

    // A click on a row writes the changed row too; a click on the current cell opens it.
    Type(Grid, QStringLiteral("4"));
    ClickCell(Grid, 2, 0);
    QCOMPARE(Cities->RecNo(), 2);
    QCOMPARE(Grid->SelectedIndex(), 0);
    QCOMPARE(StoredRows(Path)[1][1], QStringLiteral("4"));
    ClickCell(Grid, 2, 0);
    QVERIFY(Grid->Editing());
    QCOMPARE(Grid->CellEditor()->text(), Cities->FieldText(0));
}

void EditorGridTest::escapeUndoesTypingThenTheRow()
{
    const QList<QStringList> before = StoredRows(Path);
    Key(Grid, Qt::Key_Tab);
    Type(Grid, QStringLiteral("1"));
    Key(Grid, Qt::Key_Tab);  // stored: the row holds a change
    Type(Grid, QStringLiteral("2"));
    // First Escape: the typing in the open cell is undone, the cell stays open.
    Key(Grid, Qt::Key_Escape);
    QVERIFY(Grid->Editing());
    QCOMPARE(Grid->CellEditor()->text(), QStringLiteral("7.13"));
    QCOMPARE(Cities->State(), TDataSetState::Edit);
    // Second Escape: the row's pending changes go.
    Key(Grid, Qt::Key_Escape);
    QVERIFY(!Grid->Editing());
    QCOMPARE(Cities->State(), TDataSetState::Browse);
    QCOMPARE(Cities->FieldText(1), QStringLiteral("9.2"));
    QCOMPARE(StoredRows(Path), before);

    // A new row disappears the same way.
    const int rows = Cities->RecordCount();
    Key(Grid, Qt::Key_Insert);
    QCOMPARE(Cities->RecordCount(), rows + 1);
    Type(Grid, QStringLiteral("Visby"));
    Key(Grid, Qt::Key_Escape);
    Key(Grid, Qt::Key_Escape);
    QCOMPARE(Cities->RecordCount(), rows);
    QCOMPARE(Cities->State(), TDataSetState::Browse);
    QCOMPARE(StoredRows(Path), before);
}

void EditorGridTest::downAppendsAndUpDrops()
{
    const int rows = Cities->RecordCount();
    Key(Grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(Cities->RecNo(), rows - 1);
    // Down on the last row appends an empty row; Down on it does nothing more.
    Key(Grid, Qt::Key_Down);
    QCOMPARE(Cities->RecordCount(), rows + 1);
    QCOMPARE(Cities->RecNo(), rows);
    QCOMPARE(Cities->State(), TDataSetState::Insert);
    QCOMPARE(Indicator(Grid, rows), int(TTableModel::InsertIndicator));
    Key(Grid, Qt::Key_Down);
    QCOMPARE(Cities->RecordCount(), rows + 1);
    QCOMPARE(Cities->RecNo(), rows);
    // Up without typing drops it again, back on the last row.
    Key(Grid, Qt::Key_Up);
    QCOMPARE(Cities->RecordCount(), rows);
    QCOMPARE(Cities->RecNo(), rows - 1);
    QCOMPARE(Cities->State(), TDataSetState::Browse);

    // A new row inserted inside the table: Up drops it and goes to the row above,
    // Down drops it and stands on the row it was inserted before.
    Key(Grid, Qt::Key_Home, Qt::ControlModifier);
    Key(Grid, Qt::Key_Down);
    Key(Grid, Qt::Key_Down);
    const QString third = Cities->FieldText(0);
    Key(Grid, Qt::Key_Insert);
    QCOMPARE(Cities->RecNo(), 2);
    Key(Grid, Qt::Key_Up);
    QCOMPARE(Cities->RecordCount(), rows);
    QCOMPARE(Cities->RecNo(), 1);
    Key(Grid, Qt::Key_Down);
    Key(Grid, Qt::Key_Insert);
    Key(Grid, Qt::Key_Down);
    QCOMPARE(Cities->RecordCount(), rows);
    QCOMPARE(Cities->FieldText(0), third);
    QCOMPARE(StoredRows(Path).size(), rows);
}

void EditorGridTest::insertKeyAndTypedNewRowIsStored()
{
    const QList<QStringList> before = StoredRows(Path);
    // Typed into a new row at the end and left with its numbers empty: it is stored.
    Key(Grid, Qt::Key_End, Qt::ControlModifier);
    Key(Grid, Qt::Key_Down);
    Type(Grid, QStringLiteral("Visby"));
    Key(Grid, Qt::Key_Up);
    QList<QStringList> after = StoredRows(Path);
    QCOMPARE(after.size(), before.size() + 1);
    QCOMPARE(after.last(), (QStringList{"Visby", "", "", "", ""}));
    QCOMPARE(Cities->RecNo(), before.size() - 1);

    // The Insert key puts a new row before the current one; a move writes it there.
    Key(Grid, Qt::Key_Home, Qt::ControlModifier);
    Key(Grid, Qt::Key_Down);
    Key(Grid, Qt::Key_Insert);
    QCOMPARE(Cities->RecNo(), 1);
    QCOMPARE(Grid->currentIndex().row(), 1);
    Type(Grid, QStringLiteral("Ystad"));
    Key(Grid, Qt::Key_Tab);
    Type(Grid, QStringLiteral("8.5"));
    Key(Grid, Qt::Key_Down);
    after = StoredRows(Path);
    QCOMPARE(after[1], (QStringList{"Ystad", "8.5", "", "", ""}));
    QCOMPARE(after[2], before[1]);
    QCOMPARE(Cities->RecNo(), 2);
}

void EditorGridTest::movingKeys()
{
    const int rows = Cities->RecordCount();
    const int columns = Cities->FieldCount();
    Key(Grid, Qt::Key_End);
    QCOMPARE(Grid->SelectedIndex(), columns - 1);
    QVERIFY(Grid->visualRect(Grid->currentIndex()).intersects(Grid->viewport()->rect()));
    Key(Grid, Qt::Key_Home);
    QCOMPARE(Grid->SelectedIndex(), 0);
    Key(Grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(Cities->RecNo(), rows - 1);
    QVERIFY(Cities->Eof());
    Key(Grid, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(Cities->RecNo(), 0);
    QVERIFY(Cities->Bof());

    // A page is more than one row, and the current row stays in sight.
    Key(Grid, Qt::Key_PageDown);
    const int page = Cities->RecNo();
    QVERIFY(page > 1);
    Key(Grid, Qt::Key_PageDown);
    QCOMPARE(Cities->RecNo(), 2 * page);
    QVERIFY(Grid->viewport()->rect().contains(Grid->visualRect(Grid->currentIndex())));
    Key(Grid, Qt::Key_PageUp);
    QCOMPARE(Cities->RecNo(), page);

    // Tab walks the cells; past the last column it goes to the next row's first cell,
    // Shift+Tab before the first column to the previous row's last.
    Key(Grid, Qt::Key_Home);
    for (int i = 0; i < columns; ++i)
        Key(Grid, Qt::Key_Tab);
    QCOMPARE(Cities->RecNo(), page + 1);
    QCOMPARE(Grid->SelectedIndex(), 0);
    Key(Grid, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(Cities->RecNo(), page);
    QCOMPARE(Grid->SelectedIndex(), columns - 1);
    // With a cell open, Tab stores it and opens the next cell.
    Key(Grid, Qt::Key_Home);
    Type(Grid, QStringLiteral("Boras"));
    Key(Grid, Qt::Key_Tab);
    QVERIFY(Grid->Editing());
    QCOMPARE(Grid->SelectedIndex(), 1);
    QCOMPARE(Cities->FieldText(0), QStringLiteral("Boras"));
    Key(Grid, Qt::Key_Escape);
    Key(Grid, Qt::Key_Escape);
    QCOMPARE(Cities->State(), TDataSetState::Browse);
}

void EditorGridTest::ctrlDeleteAsks()
{
    const QStringList before = StoredNames(Path);
    Key(Grid, Qt::Key_Down);
    Env->Boxes.Queue(QMessageBox::Cancel);
    Key(Grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(Env->Boxes.TakeTexts(), QStringList{"Delete record?"});
    QCOMPARE(StoredNames(Path), before);
    Env->Boxes.Queue(QMessageBox::Ok);
    Key(Grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(Env->Boxes.TakeTexts(), QStringList{"Delete record?"});
    QStringList expected = before;
    expected.removeAt(1);
    QCOMPARE(StoredNames(Path), expected);
    QCOMPARE(Cities->FieldText(0), before[2]);

    // In an empty table Ctrl+Delete is ignored: no question.
    TTable* soils = Editor->Tables()->Table(4);
    TDBGrid* soilGrid = Editor->Grid(4);
    QVERIFY(ExecOther(Env->Home.TablePath(QStringLiteral("SOILEng.DB")), QStringLiteral("DELETE FROM SOILEng")));
    soils->Refresh();
    QVERIFY(soils->IsEmpty());
    soilGrid->setFocus();
    Key(soilGrid, Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(Env->Boxes.Take().isEmpty());
    // Typing into an empty table starts its first row.
    Type(soilGrid, QStringLiteral("Chalk"));
    QCOMPARE(soils->State(), TDataSetState::Insert);
    Key(soilGrid, Qt::Key_Down);
    QCOMPARE(StoredNames(Env->Home.TablePath(QStringLiteral("SOILEng.DB"))), QStringList{"Chalk"});
}

void EditorGridTest::refusedCellTextStaysForCorrection()
{
    const QList<QStringList> before = StoredRows(Path);
    // The name changed first, then a number the column cannot take.
    Type(Grid, QStringLiteral("Malmoe"));
    Key(Grid, Qt::Key_Tab);
    Type(Grid, QStringLiteral("9,3"));
    Key(Grid, Qt::Key_Down);
    const QList<ViloTest::TBoxSeen> boxes = Env->Boxes.Take();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].Text, QStringLiteral("'9,3' is not a valid floating point value for field '%1'").arg(TemperatureTitle));
    QCOMPARE(boxes[0].Title, QStringLiteral("Vilo"));
    QCOMPARE(boxes[0].Icon, QMessageBox::Critical);
    // The move was not made; the typed text stays, with the focus; the name change too.
    QCOMPARE(Cities->RecNo(), 0);
    QVERIFY(Grid->Editing());
    QCOMPARE(Grid->CellEditor()->text(), QStringLiteral("9,3"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid->CellEditor()));
    QCOMPARE(Cities->FieldText(0), QStringLiteral("Malmoe"));
    QCOMPARE(Cities->State(), TDataSetState::Edit);

    // A message raised while the focus leaves for another control keeps it in the
    // cell: the click on another grid or on the button is not made.
    ClickCell(Editor->Grid(2), 1, 0);
    QCOMPARE(WaitForBoxes(Env->Boxes, 1).size(), 1);
    QCOMPARE(Editor->Tables()->Table(2)->RecNo(), 0);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid->CellEditor()));
    QTest::mouseClick(Editor->Button1, Qt::LeftButton);
    QCOMPARE(WaitForBoxes(Env->Boxes, 1).size(), 1);
    QVERIFY(Editor->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid->CellEditor()));
    Press(Editor->Navigator(1), TDBNavigator::Next);
    QCOMPARE(WaitForBoxes(Env->Boxes, 1).size(), 1);
    QCOMPARE(Cities->RecNo(), 0);
    QCOMPARE(StoredRows(Path), before);

    // Corrected, the row is written with both changes.
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Grid->CellEditor()));
    Grid->CellEditor()->selectAll();
    Type(Grid, QStringLiteral("9.3"));
    Key(Grid, Qt::Key_Down);
    QCOMPARE(Cities->RecNo(), 1);
    QCOMPARE(StoredRows(Path)[0].mid(0, 2), (QStringList{"Malmoe", "9.3"}));
}

void EditorGridTest::focusLeavingDropsAnUnchangedNewRow()
{
    const int rows = Cities->RecordCount();
    Key(Grid, Qt::Key_End, Qt::ControlModifier);
    Key(Grid, Qt::Key_Down);
    QCOMPARE(Cities->RecordCount(), rows + 1);
    ClickCell(Editor->Grid(2), 0, 0);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Editor->Grid(2)));
    QCOMPARE(Cities->RecordCount(), rows);
    QCOMPARE(Cities->State(), TDataSetState::Browse);

    // A changed row stays pending: its open cell is stored, nothing is written.
    Grid->setFocus();
    Key(Grid, Qt::Key_Insert);
    Type(Grid, QStringLiteral("Visby"));
    QTest::mouseClick(Editor->Button1, Qt::LeftButton);
    QVERIFY(!Editor->isVisible());
    QCOMPARE(Cities->State(), TDataSetState::Insert);
    QCOMPARE(Cities->FieldText(0), QStringLiteral("Visby"));
    QCOMPARE(StoredRows(Path).size(), rows);
}

void EditorGridTest::highlightFollowsMovesMadeElsewhere()
{
    Editor->hide();
    Grid->SetSelectedIndex(2);
    QVERIFY(Cities->Locate(QStringLiteral("City"), QStringLiteral("Kalmar")));
    QCOMPARE(Grid->currentIndex(), Grid->TableModel()->index(3, 2));
    Cities->Last();
    QCOMPARE(Grid->currentIndex().row(), Cities->RecordCount() - 1);
    QVERIFY(Grid->viewport()->rect().contains(Grid->visualRect(Grid->currentIndex())));
    QCOMPARE(Indicator(Grid, Cities->RecNo()), int(TTableModel::BrowseIndicator));
    QCOMPARE(Indicator(Grid, 0), int(TTableModel::NoIndicator));
}

void EditorGridTest::columnDragAndWidth()
{
    // Dragging the vapour-content title before the temperature: the table's columns
    // move, so the next calculation takes one value for the other; the file keeps its order.
    QHeaderView* titles = Grid->horizontalHeader();
    const int vapourWidth = titles->sectionSize(2);
    const QString vapourTitle = Cities->FieldName(2);
    // Dragged with the mouse from the middle of its title to the left part of the other.
    const QPoint from(titles->sectionViewportPosition(2) + titles->sectionSize(2) / 2, titles->height() / 2);
    const QPoint to(titles->sectionViewportPosition(1) + 4, titles->height() / 2);
    QTest::mousePress(titles->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= 8; ++step)
        QTest::mouseMove(titles->viewport(), from + (to - from) * step / 8);
    QTest::mouseRelease(titles->viewport(), Qt::LeftButton, Qt::NoModifier, to);
    QCOMPARE(Cities->FieldName(1), vapourTitle);
    QCOMPARE(Cities->FieldName(2), TemperatureTitle);
    QCOMPARE(Grid->TableModel()->headerData(1, Qt::Horizontal).toString(), vapourTitle);
    QCOMPARE(titles->sectionSize(1), vapourWidth);
    TSlabInput input;
    Editor->Tables()->ReadSlabRecords(input, '.');
    QCOMPARE(input.City.Temperature, 7.13f);
    QCOMPARE(input.City.VapourContent, 9.2f);
    QCOMPARE(StoredRows(Path)[0][1], QStringLiteral("9.2"));

    // A width change sends the lookup box of the table back to the name it shows; the
    // grid's own fitting after a refresh does not.
    TDBLookupComboBox box;
    box.SetListSource(Editor->Tables()->DataSource(1), QStringLiteral("City"));
    box.show();
    box.setFocus();
    QTest::keyClicks(&box, QStringLiteral("Kal"));
    QCOMPARE(box.ShownName(), QStringLiteral("Kalmar"));
    Cities->First();
    Cities->Refresh();
    QCOMPARE(Cities->RecNo(), 0);
    const int userWidth = titles->sectionSize(0) + 20;
    const QPoint border(titles->sectionViewportPosition(0) + titles->sectionSize(0) - 1, titles->height() / 2);
    QTest::mousePress(titles->viewport(), Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseMove(titles->viewport(), border + QPoint(10, 0));
    QTest::mouseMove(titles->viewport(), border + QPoint(20, 0));
    QTest::mouseRelease(titles->viewport(), Qt::LeftButton, Qt::NoModifier, border + QPoint(20, 0));
    QCOMPARE(titles->sectionSize(0), userWidth);
    QCOMPARE(Cities->FieldText(0), QStringLiteral("Kalmar"));
    QCOMPARE(Grid->currentIndex().row(), Cities->RecNo());
    Cities->First();
    Cities->Refresh();
    QCOMPARE(Cities->RecNo(), 0);
    // The width the user set survives the refresh.
    QCOMPARE(titles->sectionSize(0), userWidth);
}

void EditorGridTest::languagesKeepTheirOwnTables()
{
    TForm4 swedish;
    const QString swedishPath = Env->Home.TablePath(QStringLiteral("City.db"));
    const QByteArray swedishFile = Fixture::FileHash(swedishPath);
    const QString swedishFirst = swedish.Tables()->Table(1)->FieldText(1);
    Key(Grid, Qt::Key_Right);
    Type(Grid, QStringLiteral("1"));
    Key(Grid, Qt::Key_Down);
    QCOMPARE(StoredRows(Path)[0][1], QStringLiteral("1"));
    QCOMPARE(Fixture::FileHash(swedishPath), swedishFile);
    QCOMPARE(swedish.Tables()->Table(1)->FieldText(1), swedishFirst);
    QCOMPARE(swedish.Tables()->Table(1)->RecNo(), 0);
}

QTEST_MAIN(EditorGridTest)
#include "editor_grid_test.moc"
