// Nothing pending is lost when the program ends: an open cell is stored, an unchanged
// new row dropped, the rest posted; a refusal lets the user go back or discard it.
#include <QLineEdit>
#include <QTest>

#include "EditorTestSupport.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"

using namespace EditorTest;

class EditorEndTest : public QObject {
    Q_OBJECT
private slots:
    void everythingPendingIsWritten();
    void refusedCellTextGoBackThenDiscard();
    void refusedPostGoBackThenDiscard();
    void withoutInteractionNothingIsAsked();
};

void EditorEndTest::everythingPendingIsWritten()
{
    TEnvironment env;
    TForm5 editor;
    QVERIFY(ShowActive(&editor));
    const QString cities = env.Home.TablePath(QStringLiteral("CityEng.DB"));
    const QString concretes = env.Home.TablePath(QStringLiteral("ConcreteEng.DB"));
    const QString insulations = env.Home.TablePath(QStringLiteral("INSULATEng.DB"));
    const QString soils = env.Home.TablePath(QStringLiteral("SOILEng.DB"));
    const QList<QStringList> insulationsBefore = StoredRows(insulations);
    const int soilRows = StoredRows(soils).size();

    // A row changed and left pending, an unchanged new row, a typed new row, and last
    // a cell still open with its typed text.
    editor.Tables()->Table(2)->SetFieldText(1, QStringLiteral("1.75"));
    editor.Grid(3)->setFocus();
    Key(editor.Grid(3), Qt::Key_Insert);
    editor.Grid(4)->setFocus();
    Key(editor.Grid(4), Qt::Key_End, Qt::ControlModifier);
    Key(editor.Grid(4), Qt::Key_Down);
    Type(editor.Grid(4), QStringLiteral("Chalk"));
    Key(editor.Grid(4), Qt::Key_Tab);
    Type(editor.Grid(4), QStringLiteral("1.2"));
    Key(editor.Grid(4), Qt::Key_Return);
    // The insulation grid lost the focus, so its new row went already; make one again.
    editor.Tables()->Table(3)->Insert();
    editor.Grid(1)->setFocus();
    Key(editor.Grid(1), Qt::Key_Right);
    Type(editor.Grid(1), QStringLiteral("-1.5"));
    QVERIFY(editor.Grid(1)->Editing());
    QCOMPARE(editor.Tables()->Table(1)->FieldText(1), QStringLiteral("9.2"));

    QVERIFY(editor.EndPendingEdits());
    QVERIFY(env.Boxes.Take().isEmpty());
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(editor.Tables()->Table(n)->State(), TDataSetState::Browse);
    QCOMPARE(StoredRows(cities)[0][1], QStringLiteral("-1.5"));
    QCOMPARE(StoredRows(concretes)[0][1], QStringLiteral("1.75"));
    QCOMPARE(StoredRows(insulations), insulationsBefore);
    QCOMPARE(StoredRows(soils).size(), soilRows + 1);
    QCOMPARE(StoredRows(soils).last(), (QStringList{"Chalk", "1.2"}));
    QVERIFY(!editor.Grid(1)->Editing());
}

void EditorEndTest::refusedCellTextGoBackThenDiscard()
{
    TEnvironment env;
    TForm5 editor;
    QVERIFY(ShowActive(&editor));
    const QString path = env.Home.TablePath(QStringLiteral("CityEng.DB"));
    const QList<QStringList> before = StoredRows(path);
    TDBGrid* grid = editor.Grid(1);
    TTable* cities = editor.Tables()->Table(1);
    grid->setFocus();
    Type(grid, QStringLiteral("Malmoe"));
    Key(grid, Qt::Key_Tab);
    Type(grid, QStringLiteral("9,3"));
    editor.hide();

    // Going back: the program stays, the window shows the cell with its text and the focus.
    env.Boxes.Queue(QMessageBox::Cancel);
    QVERIFY(!editor.EndPendingEdits());
    QList<ViloTest::TBoxSeen> boxes = env.Boxes.Take();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].Title, QStringLiteral("Database Editor Eng"));
    QCOMPARE(boxes[0].Icon, QMessageBox::Warning);
    QVERIFY2(boxes[0].Text.startsWith(QString::fromUtf8("'9,3' is not a valid floating point value for field "
                                                        "'Annual mean temperature (\u00b0C)'\n\n")),
             qPrintable(boxes[0].Text));
    QVERIFY(boxes[0].Text.contains(QStringLiteral("CityEng.DB")));
    QVERIFY(editor.isVisible());
    QVERIFY(grid->Editing());
    QCOMPARE(grid->CellEditor()->text(), QStringLiteral("9,3"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(grid->CellEditor()));
    QCOMPARE(cities->State(), TDataSetState::Edit);
    QCOMPARE(StoredRows(path), before);

    // Discarding drops only the refused text; the row's other change is written.
    env.Boxes.Queue(QMessageBox::Discard);
    QVERIFY(editor.EndPendingEdits());
    QCOMPARE(env.Boxes.Take().size(), 1);
    QVERIFY(!grid->Editing());
    QCOMPARE(StoredRows(path)[0].mid(0, 2), (QStringList{"Malmoe", "9.2"}));
}

void EditorEndTest::refusedPostGoBackThenDiscard()
{
    TEnvironment env;
    TForm4 editor;
    const QString path = env.Home.TablePath(QStringLiteral("Concrete.db"));
    TTable* concretes = editor.Tables()->Table(2);
    concretes->Next();
    concretes->SetFieldText(1, QStringLiteral("1.9"));
    QVERIFY(ExecOther(path, QStringLiteral("UPDATE Concrete SET \"%1\" = 2.1 WHERE rowid = (SELECT rowid FROM Concrete ORDER BY rowid LIMIT 1 OFFSET 1)")
                                .arg(concretes->FieldName(1))));
    // A later table's change is not reached while the user goes back.
    editor.Tables()->Table(5)->SetFieldText(0, QStringLiteral("Parkett"));

    env.Boxes.Queue(QMessageBox::Cancel);
    QVERIFY(!editor.EndPendingEdits());
    QList<ViloTest::TBoxSeen> boxes = env.Boxes.Take();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].Title, QStringLiteral("Database Editor Sve"));
    QVERIFY2(boxes[0].Text.startsWith(QStringLiteral("Table 'Concrete.db': the row was changed by another program")),
             qPrintable(boxes[0].Text));
    QVERIFY(boxes[0].Text.contains(QString::fromUtf8("\u00c4ndringen i Concrete.db har inte sparats")));
    QVERIFY(editor.isVisible());
    QCOMPARE(concretes->State(), TDataSetState::Edit);
    QCOMPARE(concretes->FieldText(1), QStringLiteral("1.9"));
    QCOMPARE(editor.Tables()->Table(5)->State(), TDataSetState::Edit);

    env.Boxes.Queue(QMessageBox::Discard);
    QVERIFY(editor.EndPendingEdits());
    QCOMPARE(env.Boxes.Take().size(), 1);
    QCOMPARE(concretes->State(), TDataSetState::Browse);
    QCOMPARE(StoredRows(path)[1][1], QStringLiteral("2.1"));
    QCOMPARE(StoredRows(env.Home.TablePath(QStringLiteral("Floor.db")))[0][0], QStringLiteral("Parkett"));
}

void EditorEndTest::withoutInteractionNothingIsAsked()
{
    TEnvironment env;
    TForm5 editor;
    const QString path = env.Home.TablePath(QStringLiteral("ConcreteEng.DB"));
    TTable* concretes = editor.Tables()->Table(2);
    concretes->SetFieldText(1, QStringLiteral("1.9"));
    QVERIFY(ExecOther(path, QStringLiteral("DELETE FROM ConcreteEng WHERE rowid = (SELECT min(rowid) FROM ConcreteEng)")));
    editor.Tables()->Table(4)->SetFieldText(1, QStringLiteral("1.6"));
    // The refused row stays pending, everything else is written.
    QVERIFY(!editor.EndPendingEdits(false));
    QVERIFY(env.Boxes.Take().isEmpty());
    QCOMPARE(concretes->State(), TDataSetState::Edit);
    QCOMPARE(StoredRows(env.Home.TablePath(QStringLiteral("SOILEng.DB")))[0][1], QStringLiteral("1.6"));
    QVERIFY(!editor.isVisible());
}

QTEST_MAIN(EditorEndTest)
#include "editor_end_test.moc"
