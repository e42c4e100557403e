// The grid's item model: fine-grained notifications that a view and Qt's model
// checker accept, the current-row indicator, edits and their refusals.
#include "DataFixture.h"

#include "data/TTable.h"
#include "data/TTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

class TTableModelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture::TWorld> World;
    QString Path;
    std::unique_ptr<TTable> Table;
    std::unique_ptr<TTableModel> Model;

    int Indicator(int row) const { return Model->headerData(row, Qt::Vertical, TTableModel::IndicatorRole).toInt(); }

private slots:
    void init()
    {
        World = std::make_unique<Fixture::TWorld>();
        Path = World->Tables() + QStringLiteral("/Concrete.db");
        Fixture::MakeTable(Path, QStringLiteral("Concrete"), QStringLiteral("Betong TEXT, L REAL, P REAL"),
                           {{QStringLiteral("A"), 1.7, 1e-6}, {QStringLiteral("B"), 2.3, 2.5e-7}, {QStringLiteral("C"), 0.12, 3e-6}});
        Table = std::make_unique<TTable>();
        Table->OpenFile(Path);
        Model = std::make_unique<TTableModel>(Table.get());
    }
    void cleanup()
    {
        Model.reset();
        Table.reset();
        World.reset();
    }

    void showsTheTableWithoutACopy()
    {
        QAbstractItemModelTester tester(Model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(Model->rowCount(), 3);
        QCOMPARE(Model->columnCount(), 3);
        QCOMPARE(Model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("L"));
        QCOMPARE(Model->data(Model->index(1, 2)).toString(), QStringLiteral("2.5E-7"));
        QCOMPARE(Model->data(Model->index(1, 2), Qt::EditRole).toString(), QStringLiteral("2.5E-7"));
        QVERIFY(Model->flags(Model->index(0, 0)) & Qt::ItemIsEditable);
        // A change made through the table is what the model shows, at once.
        Table->MoveTo(2);
        Table->SetFieldText(0, QStringLiteral("C2"));
        QCOMPARE(Model->data(Model->index(2, 0)).toString(), QStringLiteral("C2"));
    }

    void notifiesRowsAndCellsNotResets()
    {
        QAbstractItemModelTester tester(Model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(Model.get(), &QAbstractItemModel::modelReset);
        QSignalSpy inserted(Model.get(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(Model.get(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(Model.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy moved(Model.get(), &QAbstractItemModel::columnsMoved);

        Table->MoveTo(1);
        Table->Insert();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 1);
        QCOMPARE(Model->rowCount(), 4);
        Table->SetFieldText(0, QStringLiteral("New"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).value<QModelIndex>().row(), 1);
        Table->Post();
        Table->Append();
        Table->Cancel();
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 4);
        Table->First();
        Table->Delete();
        QCOMPARE(removed.count(), 2);
        QCOMPARE(removed.at(0 + 1).at(1).toInt(), 0);
        Table->MoveField(0, 2);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(Model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Betong"));
        QCOMPARE(Model->data(Model->index(0, 2)).toString(), QStringLiteral("New"));
        QCOMPARE(resets.count(), 0);
        Table->Refresh();
        QCOMPARE(Model->rowCount(), 3);
    }

    void theVerticalHeaderMarksTheCurrentRowAndItsState()
    {
        QSignalSpy headers(Model.get(), &QAbstractItemModel::headerDataChanged);
        QCOMPARE(Indicator(0), int(TTableModel::BrowseIndicator));
        QCOMPARE(Indicator(1), int(TTableModel::NoIndicator));
        Table->Next();
        QCOMPARE(Indicator(0), int(TTableModel::NoIndicator));
        QCOMPARE(Indicator(1), int(TTableModel::BrowseIndicator));
        QVERIFY(headers.count() >= 2);
        Table->Edit();
        QCOMPARE(Indicator(1), int(TTableModel::EditIndicator));
        Table->Insert();  // the unchanged edit ends, a new row stands before B
        QCOMPARE(Indicator(1), int(TTableModel::InsertIndicator));
        QVERIFY(!Model->headerData(1, Qt::Vertical).toString().isEmpty());
        QVERIFY(Model->headerData(2, Qt::Vertical).toString().isEmpty());
    }

    void setDataEditsTheRowAndReportsRefusals()
    {
        QSignalSpy errors(Model.get(), &TTableModel::ErrorOccurred);
        QVERIFY(Model->setData(Model->index(2, 1), QStringLiteral("0.15")));
        QCOMPARE(Table->RecNo(), 2);
        QCOMPARE(Table->State(), TDataSetState::Edit);
        QVERIFY(!Model->setData(Model->index(2, 1), QStringLiteral("abc")));
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("'abc' is not a valid floating point value for field 'L'"));
        QCOMPARE(Model->data(Model->index(2, 1)).toString(), QStringLiteral("0.15"));
        // Editing another row posts this one first.
        QVERIFY(Model->setData(Model->index(0, 0), QStringLiteral("A2")));
        QCOMPARE(Fixture::Names(Path, QStringLiteral("Concrete")), QStringList({"A", "B", "C"}));
        Fixture::TPlainConnection plain(Path);
        QCOMPARE(plain.Rows(QStringLiteral("SELECT L FROM Concrete WHERE rowid = 3")).value(0).value(0).toDouble(), 0.15);
    }

    void aColumnMovedInTheViewMovesTheTablesColumn()
    {
        QAbstractItemModelTester tester(Model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(Model->moveColumns({}, 2, 1, {}, 0));
        QCOMPARE(Table->FieldNames(), QStringList({"P", "Betong", "L"}));
        QVERIFY(Model->moveColumns({}, 0, 1, {}, 3));
        QCOMPARE(Table->FieldNames(), QStringList({"Betong", "L", "P"}));
        QVERIFY(!Model->moveColumns({}, 0, 2, {}, 3));
    }
};

QTEST_GUILESS_MAIN(TTableModelTest)
#include "tablemodel_test.moc"
