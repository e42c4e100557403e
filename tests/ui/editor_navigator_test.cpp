// The navigator bars: which buttons are enabled through a walk and in an empty table,
// what each does to the rows and the file, the delete question, refused posts and
// deletes, refresh.
#include <QTest>

#include "EditorTestSupport.h"
#include "ui/Unit5.h"

using namespace EditorTest;
using Nav = TDBNavigator;

namespace {

// Enabled-state strings, buttons in bar order: First Prior Next Last Insert Delete
// Edit Post Cancel Refresh.
const QString AtBeginning = QStringLiteral("0011111001");
const QString InMiddle = QStringLiteral("1111111001");
const QString AtEnd = QStringLiteral("1100111001");
const QString EmptyTable = QStringLiteral("0000101001");

}  // namespace

class EditorNavigatorTest : public QObject {
    Q_OBJECT
private slots:
    void enabledStatesThroughAWalk();
    void emptyTable();
    void insertPostEditCancel();
    void deleteAsksAndMovesOn();
    void refusedPostAndDeleteKeepTheRow();
    void refreshPostsThenReadsAgain();
    void keyboard();
};

void EditorNavigatorTest::enabledStatesThroughAWalk()
{
    TEnvironment env;
    TForm5 editor;
    editor.Grid(4)->TableModel();  // the hidden grid shows its table, as after a first show
    Nav* nav = editor.Navigator(4);
    TTable* soils = editor.Tables()->Table(4);
    const int last = soils->RecordCount() - 1;
    QVERIFY(last >= 2);
    struct TStep {
        Nav::TButton Button;
        int Row;
        QString Enabled;
    };
    // The beginning is left by any move and reached again only by First or by a step
    // back that finds no earlier row; the end likewise.
    const TStep steps[] = {
        {Nav::Next, 1, InMiddle},        {Nav::Prior, 0, InMiddle},    {Nav::Prior, 0, AtBeginning},
        {Nav::Last, last, AtEnd},        {Nav::Prior, last - 1, InMiddle}, {Nav::Next, last, InMiddle},
        {Nav::Next, last, AtEnd},        {Nav::First, 0, AtBeginning},
    };
    QCOMPARE(EnabledButtons(nav), AtBeginning);
    for (const TStep& step : steps) {
        Press(nav, step.Button);
        QCOMPARE(soils->RecNo(), step.Row);
        QCOMPARE(EnabledButtons(nav), step.Enabled);
        QCOMPARE(editor.Grid(4)->currentIndex().row(), step.Row);
    }
    // Editing: Edit off, Post and Cancel on; the moving buttons keep their flags.
    Press(nav, Nav::Edit);
    QCOMPARE(soils->State(), TDataSetState::Edit);
    QCOMPARE(EnabledButtons(nav), QStringLiteral("0011110111"));
    Press(nav, Nav::Cancel);
    QCOMPARE(EnabledButtons(nav), AtBeginning);
    // A move made elsewhere updates the bar too.
    soils->Last();
    QCOMPARE(EnabledButtons(nav), AtEnd);
    QVERIFY(env.Boxes.Take().isEmpty());
}

void EditorNavigatorTest::emptyTable()
{
    TEnvironment env;
    const QString path = env.Home.TablePath(QStringLiteral("SOILEng.DB"));
    QVERIFY(ExecOther(path, QStringLiteral("DELETE FROM SOILEng")));
    TForm5 editor;
    Nav* nav = editor.Navigator(4);
    TTable* soils = editor.Tables()->Table(4);
    // Only Insert, Edit and Refresh: the four moving buttons and Delete are off.
    QCOMPARE(EnabledButtons(nav), EmptyTable);
    // Edit in an empty table starts a new row as Insert does; Cancel drops it again.
    Press(nav, Nav::Edit);
    QCOMPARE(soils->State(), TDataSetState::Insert);
    QCOMPARE(soils->RecordCount(), 1);
    QCOMPARE(EnabledButtons(nav).mid(4), QStringLiteral("110111"));
    Press(nav, Nav::Cancel);
    QCOMPARE(soils->RecordCount(), 0);
    QCOMPARE(EnabledButtons(nav), EmptyTable);
    // Insert, a name typed into the grid, Post: the row is in the file.
    Press(nav, Nav::Insert);
    TDBGrid* grid = editor.Grid(4);
    QVERIFY(ShowActive(&editor));
    grid->setFocus();
    Type(grid, QStringLiteral("Chalk"));
    Key(grid, Qt::Key_Tab);
    Type(grid, QStringLiteral("1.2"));
    Press(nav, Nav::Post);
    QCOMPARE(soils->State(), TDataSetState::Browse);
    QCOMPARE(StoredRows(path), (QList<QStringList>{{"Chalk", "1.2"}}));
    QVERIFY(env.Boxes.Take().isEmpty());
}

void EditorNavigatorTest::insertPostEditCancel()
{
    TEnvironment env;
    const QString path = env.Home.TablePath(QStringLiteral("ConcreteEng.DB"));
    const QStringList before = StoredNames(path);
    TForm5 editor;
    QVERIFY(ShowActive(&editor));
    Nav* nav = editor.Navigator(2);
    TDBGrid* grid = editor.Grid(2);
    TTable* concretes = editor.Tables()->Table(2);

    // Insert puts a new row before the current one; Post writes it in that place.
    Press(nav, Nav::Next);
    Press(nav, Nav::Insert);
    QCOMPARE(concretes->State(), TDataSetState::Insert);
    QCOMPARE(concretes->RecNo(), 1);
    QCOMPARE(grid->TableModel()->headerData(1, Qt::Vertical, TTableModel::IndicatorRole).toInt(), int(TTableModel::InsertIndicator));
    grid->setFocus();
    Type(grid, QStringLiteral("Concrete w/c 0.45"));
    Press(nav, Nav::Post);
    QStringList expected = before;
    expected.insert(1, QStringLiteral("Concrete w/c 0.45"));
    QCOMPARE(StoredNames(path), expected);
    QCOMPARE(concretes->RecNo(), 1);
    QCOMPARE(concretes->State(), TDataSetState::Browse);

    // Edit, a change typed, Cancel: the row and the file are as before.
    Press(nav, Nav::Next);
    Press(nav, Nav::Edit);
    QCOMPARE(grid->TableModel()->headerData(2, Qt::Vertical, TTableModel::IndicatorRole).toInt(), int(TTableModel::EditIndicator));
    grid->setFocus();
    grid->SetSelectedIndex(1);
    Type(grid, QStringLiteral("9"));
    Press(nav, Nav::Cancel);
    QCOMPARE(concretes->State(), TDataSetState::Browse);
    QCOMPARE(concretes->FieldText(1), QStringLiteral("1.7"));
    QCOMPARE(StoredRows(path)[2][1], QStringLiteral("1.7"));

    // Edit, a change typed, Post: it is in the file.
    grid->setFocus();
    Type(grid, QStringLiteral("1.8"));
    QCOMPARE(concretes->State(), TDataSetState::Edit);
    Press(nav, Nav::Post);
    QCOMPARE(StoredRows(path)[2][1], QStringLiteral("1.8"));
    QVERIFY(env.Boxes.Take().isEmpty());
}

void EditorNavigatorTest::deleteAsksAndMovesOn()
{
    TEnvironment env;
    const QString path = env.Home.TablePath(QStringLiteral("ConcreteEng.DB"));
    const QStringList before = StoredNames(path);
    TForm5 editor;
    editor.Grid(2)->TableModel();  // the hidden grid shows its table, as after a first show
    Nav* nav = editor.Navigator(2);
    TTable* concretes = editor.Tables()->Table(2);

    Press(nav, Nav::Next);
    env.Boxes.Queue(QMessageBox::Cancel);
    Press(nav, Nav::Delete);
    QList<ViloTest::TBoxSeen> boxes = env.Boxes.Take();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].Text, QStringLiteral("Delete record?"));
    QCOMPARE(boxes[0].Title, QStringLiteral("Confirm"));
    QCOMPARE(StoredNames(path), before);

    // OK: gone from the file at once, and the following row is current.
    env.Boxes.Queue(QMessageBox::Ok);
    Press(nav, Nav::Delete);
    QCOMPARE(env.Boxes.TakeTexts(), QStringList{"Delete record?"});
    QStringList expected = before;
    expected.removeAt(1);
    QCOMPARE(StoredNames(path), expected);
    QCOMPARE(concretes->FieldText(0), before[2]);
    QCOMPARE(editor.Grid(2)->currentIndex().row(), 1);

    // The last row deleted: the preceding one is current.
    Press(nav, Nav::Last);
    Press(nav, Nav::Delete);
    expected.removeLast();
    QCOMPARE(StoredNames(path), expected);
    QCOMPARE(concretes->FieldText(0), expected.last());

    // A new row still being inserted is only dropped.
    Press(nav, Nav::Insert);
    Press(nav, Nav::Delete);
    QCOMPARE(env.Boxes.TakeTexts(), (QStringList{"Delete record?", "Delete record?"}));
    QCOMPARE(concretes->State(), TDataSetState::Browse);
    QCOMPARE(concretes->RecordCount(), expected.size());
    QCOMPARE(StoredNames(path), expected);
}

void EditorNavigatorTest::refusedPostAndDeleteKeepTheRow()
{
    TEnvironment env;
    const QString path = env.Home.TablePath(QStringLiteral("ConcreteEng.DB"));
    TForm5 editor;
    QVERIFY(ShowActive(&editor));
    Nav* nav = editor.Navigator(2);
    TDBGrid* grid = editor.Grid(2);
    TTable* concretes = editor.Tables()->Table(2);

    // Another program changes the row after it was read: the post is refused with the
    // engine's message and the typed change stays pending.
    grid->setFocus();
    grid->SetSelectedIndex(1);
    Type(grid, QStringLiteral("1.9"));
    Key(grid, Qt::Key_Return);
    QCOMPARE(concretes->State(), TDataSetState::Edit);
    QVERIFY(ExecOther(path, QStringLiteral("UPDATE ConcreteEng SET Permeability = 1e-7 WHERE rowid = (SELECT min(rowid) FROM ConcreteEng)")));
    Press(nav, Nav::Post);
    QList<ViloTest::TBoxSeen> boxes = env.Boxes.Take();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].Title, QStringLiteral("Vilo"));
    QCOMPARE(boxes[0].Icon, QMessageBox::Critical);
    QVERIFY2(boxes[0].Text.startsWith(QStringLiteral("Table 'ConcreteEng.DB': the row was changed by another program")),
             qPrintable(boxes[0].Text));
    QCOMPARE(concretes->State(), TDataSetState::Edit);
    QCOMPARE(concretes->FieldText(1), QStringLiteral("1.9"));
    QCOMPARE(StoredRows(path)[0][1], QStringLiteral("1.7"));
    // A move is refused the same way and leaves the row where it is.
    Press(nav, Nav::Next);
    QCOMPARE(env.Boxes.Take().size(), 1);
    QCOMPARE(concretes->RecNo(), 0);
    QCOMPARE(grid->currentIndex().row(), 0);
    // Cancel and Refresh show what the other program stored.
    Press(nav, Nav::Cancel);
    Press(nav, Nav::Refresh);
    QCOMPARE(concretes->FieldText(2).toDouble(), 1e-7);

    // A row deleted by another program cannot be deleted again; it stays until a refresh.
    Press(nav, Nav::Next);
    QVERIFY(ExecOther(path, QStringLiteral("DELETE FROM ConcreteEng WHERE rowid = (SELECT min(rowid) FROM ConcreteEng WHERE rowid > (SELECT min(rowid) FROM ConcreteEng))")));
    const int rows = concretes->RecordCount();
    Press(nav, Nav::Delete);
    QStringList texts = env.Boxes.TakeTexts();
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0], QStringLiteral("Delete record?"));
    QVERIFY2(texts[1].contains(QStringLiteral("deleted by another program")), qPrintable(texts[1]));
    QCOMPARE(concretes->RecordCount(), rows);
}

void EditorNavigatorTest::refreshPostsThenReadsAgain()
{
    TEnvironment env;
    const QString path = env.Home.TablePath(QStringLiteral("SOILEng.DB"));
    TForm5 editor;
    Nav* nav = editor.Navigator(4);
    TTable* soils = editor.Tables()->Table(4);
    Press(nav, Nav::Next);
    soils->SetFieldText(1, QStringLiteral("2.2"));
    QVERIFY(ExecOther(path, QStringLiteral("INSERT INTO SOILEng VALUES ('Chalk', 1.2)")));
    Press(nav, Nav::Refresh);
    QCOMPARE(soils->State(), TDataSetState::Browse);
    QCOMPARE(StoredRows(path)[1][1], QStringLiteral("2.2"));
    QCOMPARE(soils->RecNo(), 1);
    QCOMPARE(editor.Grid(4)->TableModel()->rowCount(), StoredRows(path).size());
    QCOMPARE(editor.Grid(4)->TableModel()->index(soils->RecordCount() - 1, 0).data().toString(), QStringLiteral("Chalk"));
}

void EditorNavigatorTest::keyboard()
{
    TEnvironment env;
    TForm5 editor;
    QVERIFY(ShowActive(&editor));
    Nav* nav = editor.Navigator(1);
    nav->setFocus();
    // The bar is one tab stop: Right chooses Next, Space presses it.
    QTest::keyClick(nav, Qt::Key_Right);
    QTest::keyClick(nav, Qt::Key_Right);
    QTest::keyClick(nav, Qt::Key_Space);
    QCOMPARE(editor.Tables()->Table(1)->RecNo(), 1);
    // A click on a button takes the focus from a grid to the bar.
    editor.Grid(2)->setFocus();
    Press(nav, Nav::Last);
    QCOMPARE(QApplication::focusWidget(), nav);
    QVERIFY(editor.Tables()->Table(1)->Eof());
}

QTEST_MAIN(EditorNavigatorTest)
#include "editor_navigator_test.moc"
