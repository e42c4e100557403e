// The table component on small files: current row, columns, moves and their flags,
// locate, row states, insert order, delete and refresh.
#include "DataFixture.h"

#include "data/TDatabaseError.h"
#include "data/TFieldError.h"
#include "data/TTable.h"

#include <QLocale>
#include <QSignalSpy>

using Fixture::TPlainConnection;

class TTableTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture::TWorld> World;
    QString Path;

    // Five soils: a name, a conductivity and a note, rowids 1..5.
    void MakeSoils()
    {
        Path = World->Tables() + QStringLiteral("/Soil.db");
        Fixture::MakeTable(Path, QStringLiteral("Soil"), QStringLiteral("Name TEXT, Lambda REAL, Note REAL"),
                           {{QStringLiteral("Clay"), 1.5, 1.0},
                            {QStringLiteral("Sand"), 2.0, 2.0},
                            {QStringLiteral("Rock"), 3.5, 3.0},
                            {QStringLiteral("Peat"), 0.5, 4.0},
                            {QStringLiteral("Till"), 0.13, 5.0}});
    }

private slots:
    void init()
    {
        World = std::make_unique<Fixture::TWorld>();
        World->PointAlias(World->Tables());
        QLocale::setDefault(QLocale::c());
        MakeSoils();
    }
    void cleanup() { World.reset(); }

    void opensByAliasWithFirstRowCurrent()
    {
        TTable table;
        table.Open(QStringLiteral("Vilo"), QStringLiteral("Soil.db"));
        QVERIFY(table.Active());
        QCOMPARE(table.TableName(), QStringLiteral("Soil.db"));
        QCOMPARE(table.RecordCount(), 5);
        QCOMPARE(table.RecNo(), 0);
        QVERIFY(table.Bof());
        QVERIFY(!table.Eof());
        QVERIFY(table.CanModify());
        QCOMPARE(table.State(), TDataSetState::Browse);
        QCOMPARE(table.FieldNames(), QStringList({"Name", "Lambda", "Note"}));
        QCOMPARE(table.FieldText(0), QStringLiteral("Clay"));
        QCOMPARE(table.FieldText(1), QStringLiteral("1.5"));
        QCOMPARE(table.ColumnValues(QStringLiteral("Name")), QStringList({"Clay", "Sand", "Rock", "Peat", "Till"}));
    }

    void cellTextsFollowTheLocaleAtCallTime()
    {
        TTable table;
        table.OpenFile(Path);
        table.Last();
        QCOMPARE(table.FieldText(1), QStringLiteral("0.13"));
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        QCOMPARE(table.FieldText(1), QStringLiteral("0,13"));
        QCOMPARE(table.DisplayText(QStringLiteral("Lambda")), QStringLiteral("0,13"));
        QCOMPARE(table.DisplayText(QStringLiteral("lambda")), QStringLiteral("0,13"));
        QCOMPARE(table.DisplayText(QStringLiteral("Missing")), QString());
        // A typed number goes through the same grammar: only the locale's separator.
        QVERIFY_THROWS_EXCEPTION(TFieldError, table.SetFieldText(1, QStringLiteral("0.25")));
        table.SetFieldText(1, QStringLiteral("0,25"));
        table.Post();
        TPlainConnection plain(Path);
        QCOMPARE(plain.Rows(QStringLiteral("SELECT Lambda FROM Soil WHERE Name = 'Till'")).value(0).value(0).toDouble(), 0.25);
    }

    void movedColumnsRenumberPositionsButNotTheFile()
    {
        TTable table;
        table.OpenFile(Path);
        QSignalSpy moved(&table, &TTable::FieldMoved);
        QSignalSpy layout(&table, &TTable::LayoutChanged);
        table.MoveField(2, 0);
        QCOMPARE(table.FieldNames(), QStringList({"Note", "Name", "Lambda"}));
        QCOMPARE(table.FieldText(0), QStringLiteral("1"));
        QCOMPARE(table.FieldText(2), QStringLiteral("1.5"));
        QCOMPARE(table.FieldIndex(QStringLiteral("Lambda")), 2);
        QCOMPARE(table.FieldIndex(QStringLiteral("None")), -1);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(layout.count(), 1);
        table.NotifyLayoutChanged();
        QCOMPARE(layout.count(), 2);
        TPlainConnection plain(Path);
        const QList<QVariantList> columns = plain.Rows(QStringLiteral("PRAGMA table_info(Soil)"));
        QCOMPARE(columns.value(0).value(1).toString(), QStringLiteral("Name"));
        QCOMPARE(columns.value(2).value(1).toString(), QStringLiteral("Note"));
        // Past the last column: a message naming the table and the position.
        try {
            table.FieldText(3);
            QFAIL("read past the last column");
        } catch (const TDatabaseError& error) {
            QVERIFY2(error.Message().contains(QLatin1String("'Soil.db'")) && error.Message().contains(QLatin1String("position 3")), error.what());
        }
    }

    void moveFlags_data()
    {
        QTest::addColumn<QString>("steps");  // F first, P prior, N next, L last, +n / -n MoveBy, Lo locate Rock
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("bof");
        QTest::addColumn<bool>("eof");
        QTest::newRow("opened") << "" << 0 << true << false;
        QTest::newRow("prior on the first row") << "P" << 0 << true << false;
        QTest::newRow("next") << "N" << 1 << false << false;
        QTest::newRow("next then prior reaches the first row") << "N P" << 0 << false << false;
        QTest::newRow("a further step back") << "N P P" << 0 << true << false;
        QTest::newRow("last") << "L" << 4 << false << true;
        QTest::newRow("last then next") << "L N" << 4 << false << true;
        QTest::newRow("next onto the last row") << "+3 N" << 4 << false << false;
        QTest::newRow("a step past the last row") << "+3 N N" << 4 << false << true;
        QTest::newRow("first after last") << "L F" << 0 << true << false;
        QTest::newRow("move by too far") << "+10" << 4 << false << true;
        QTest::newRow("move back too far") << "L -10" << 0 << true << false;
        QTest::newRow("locate") << "Lo" << 2 << false << false;
    }
    void moveFlags()
    {
        QFETCH(QString, steps);
        TTable table;
        table.OpenFile(Path);
        QSignalSpy moves(&table, &TTable::CurrentRowChanged);
        int expectedSignals = 0;
        for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
            if (step == QLatin1String("F"))
                table.First();
            else if (step == QLatin1String("P"))
                table.Prior();
            else if (step == QLatin1String("N"))
                table.Next();
            else if (step == QLatin1String("L"))
                table.Last();
            else if (step == QLatin1String("Lo"))
                QVERIFY(table.Locate(QStringLiteral("Name"), QStringLiteral("Rock")));
            else
                table.MoveBy(step.toInt());
            ++expectedSignals;
        }
        QTEST(table.RecNo(), "row");
        QTEST(table.Bof(), "bof");
        QTEST(table.Eof(), "eof");
        QCOMPARE(moves.count(), expectedSignals);
    }

    void emptyAndSingleRowTables()
    {
        const QString emptyPath = World->Tables() + QStringLiteral("/Empty.db");
        Fixture::MakeTable(emptyPath, QStringLiteral("Empty"), QStringLiteral("Name TEXT, Lambda REAL"), {});
        TTable empty;
        empty.OpenFile(emptyPath);
        QVERIFY(empty.IsEmpty());
        QCOMPARE(empty.RecNo(), -1);
        QVERIFY(empty.Bof() && empty.Eof());
        empty.Next();
        empty.Last();
        QCOMPARE(empty.FieldText(1), QString());
        QVERIFY(!empty.Locate(QStringLiteral("Name"), QString(), TLocateOption::PartialKey));
        QVERIFY_THROWS_EXCEPTION(TDatabaseError, empty.Delete());
        // Edit on an empty table starts a new row.
        empty.Edit();
        QCOMPARE(empty.State(), TDataSetState::Insert);
        QCOMPARE(empty.RecordCount(), 1);
        empty.Cancel();
        QVERIFY(empty.IsEmpty() && empty.Bof() && empty.Eof());

        const QString onePath = World->Tables() + QStringLiteral("/One.db");
        Fixture::MakeTable(onePath, QStringLiteral("One"), QStringLiteral("Name TEXT"), {{QStringLiteral("Only")}});
        TTable one;
        one.OpenFile(onePath);
        QVERIFY(one.Bof() && !one.Eof());
        one.Next();
        QVERIFY(!one.Bof() && one.Eof());
        QCOMPARE(one.RecNo(), 0);
    }

    void locate_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("row");  // -1: not found, current row stays
        const int whole = 0;
        const int prefix = int(TLocateOption::CaseInsensitive) | int(TLocateOption::PartialKey);
        QTest::newRow("whole name") << QStringLiteral("Östersund") << whole << 1;
        QTest::newRow("whole name, other case") << QStringLiteral("östersund") << whole << -1;
        QTest::newRow("leading part of a whole name") << QStringLiteral("Öster") << whole << -1;
        QTest::newRow("first of two equal names") << QStringLiteral("Umeå") << whole << 2;
        QTest::newRow("prefix, lower-case umlaut") << QStringLiteral("öst") << prefix << 1;
        QTest::newRow("prefix, upper-case") << QStringLiteral("UME") << prefix << 2;
        QTest::newRow("prefix, sharp s folds to ss") << QStringLiteral("STRASS") << prefix << 4;
        QTest::newRow("prefix, decomposed umlaut") << QStringLiteral("A\u030Ang") << prefix << 5;
        QTest::newRow("prefix, no match") << QStringLiteral("x") << prefix << -1;
        QTest::newRow("whole, ignoring case") << QStringLiteral("LULEÅ") << int(TLocateOption::CaseInsensitive) << 0;
    }
    void locate()
    {
        QFETCH(QString, value);
        QFETCH(int, options);
        QFETCH(int, row);
        const QString path = World->Tables() + QStringLiteral("/City.db");
        Fixture::MakeTable(path, QStringLiteral("City"), QStringLiteral("Stad TEXT, T REAL"),
                           {{QStringLiteral("Luleå"), 1.0}, {QStringLiteral("Östersund"), 2.0}, {QStringLiteral("Umeå"), 3.0},
                            {QStringLiteral("Umeå"), 4.0}, {QStringLiteral("Straße"), 5.0}, {QStringLiteral("Ånge"), 6.0}});
        TTable table;
        table.OpenFile(path);
        table.MoveTo(3);
        const bool found = table.Locate(QStringLiteral("Stad"), value, TLocateOptions(options));
        QCOMPARE(found, row >= 0);
        QCOMPARE(table.RecNo(), row >= 0 ? row : 3);
    }

    void locateUnknownFieldThrows()
    {
        TTable table;
        table.OpenFile(Path);
        QVERIFY_THROWS_EXCEPTION(TDatabaseError, table.Locate(QStringLiteral("Stad"), QStringLiteral("Clay")));
    }

    void readersSeeThePendingRowUntilItIsPosted()
    {
        TTable table;
        table.OpenFile(Path);
        table.Next();
        QSignalSpy states(&table, &TTable::StateChanged);
        QSignalSpy changed(&table, &TTable::RowsChanged);
        table.SetFieldText(1, QStringLiteral("2.25"));
        QCOMPARE(table.State(), TDataSetState::Edit);
        QVERIFY(table.Modified());
        QCOMPARE(table.FieldText(1), QStringLiteral("2.25"));
        QCOMPARE(table.CellText(1, 1), QStringLiteral("2.25"));
        QCOMPARE(states.count(), 1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 1);
        TPlainConnection plain(Path);
        QCOMPARE(plain.Rows(QStringLiteral("SELECT Lambda FROM Soil WHERE rowid = 2")).value(0).value(0).toDouble(), 2.0);

        // Leaving the row writes it.
        table.Next();
        QCOMPARE(table.State(), TDataSetState::Browse);
        QCOMPARE(table.RecNo(), 2);
        QCOMPARE(plain.Rows(QStringLiteral("SELECT Lambda FROM Soil WHERE rowid = 2")).value(0).value(0).toDouble(), 2.25);

        // Cancel drops the change; an emptied cell stores NULL.
        table.SetFieldText(0, QStringLiteral("Gravel"));
        table.Cancel();
        QCOMPARE(table.FieldText(0), QStringLiteral("Rock"));
        table.SetFieldText(1, QString());
        table.Post();
        QVERIFY(plain.Rows(QStringLiteral("SELECT Lambda FROM Soil WHERE rowid = 3")).value(0).value(0).isNull());
        QCOMPARE(table.FieldText(1), QString());

        // Setting the same value again starts no edit.
        table.SetFieldText(0, QStringLiteral("Rock"));
        QCOMPARE(table.State(), TDataSetState::Browse);
    }

    void aTextTheColumnCannotTakeChangesNothing()
    {
        TTable table;
        table.OpenFile(Path);
        try {
            table.SetFieldText(1, QStringLiteral("1,5"));
            QFAIL("accepted a comma under a full-stop locale");
        } catch (const TFieldError& error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("'1,5' is not a valid floating point value for field 'Lambda'"));
        }
        QCOMPARE(table.State(), TDataSetState::Browse);
        QCOMPARE(table.FieldText(1), QStringLiteral("1.5"));
        QVERIFY_THROWS_EXCEPTION(TFieldError, table.SetFieldText(1, QStringLiteral("1E400")));
        // A text column takes any text.
        table.SetFieldText(0, QStringLiteral("1,5 m clay"));
        QCOMPARE(table.FieldText(0), QStringLiteral("1,5 m clay"));
    }

    void insertedRowsKeepTheirPlace()
    {
        TTable table;
        table.OpenFile(Path);
        table.MoveTo(2);
        QSignalSpy inserted(&table, &TTable::RowsInserted);
        table.Insert();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(0).toInt(), 2);
        QCOMPARE(table.State(), TDataSetState::Insert);
        QCOMPARE(table.RecNo(), 2);
        QCOMPARE(table.RecordCount(), 6);
        QCOMPARE(table.FieldText(0), QString());
        table.SetFieldText(0, QStringLiteral("Silt"));
        QCOMPARE(table.ColumnValues(QStringLiteral("Name")), QStringList({"Clay", "Sand", "Silt", "Rock", "Peat", "Till"}));
        QCOMPARE(Fixture::Names(Path, QStringLiteral("Soil")).size(), 5);
        table.Post();
        // Rowids 1..5 leave no gap: the file was renumbered in the same transaction.
        QCOMPARE(Fixture::Names(Path, QStringLiteral("Soil")), QStringList({"Clay", "Sand", "Silt", "Rock", "Peat", "Till"}));

        // At the top, and appended at the end, also after the renumbering.
        table.First();
        table.Insert();
        table.SetFieldText(0, QStringLiteral("Loam"));
        table.Append();  // posts the first new row
        table.SetFieldText(0, QStringLiteral("Chalk"));
        table.Post();
        const QStringList expected{"Loam", "Clay", "Sand", "Silt", "Rock", "Peat", "Till", "Chalk"};
        QCOMPARE(Fixture::Names(Path, QStringLiteral("Soil")), expected);
        // Rows read before the renumbering can still be changed.
        table.MoveTo(4);
        table.SetFieldText(1, QStringLiteral("3"));
        table.Post();
        QCOMPARE(table.FieldText(0), QStringLiteral("Rock"));
        table.Refresh();
        QCOMPARE(table.ColumnValues(QStringLiteral("Name")), expected);
        QCOMPARE(table.RecNo(), 4);

        TTable reopened;
        reopened.OpenFile(Path);
        QCOMPARE(reopened.ColumnValues(QStringLiteral("Name")), expected);
        reopened.MoveTo(4);
        QCOMPARE(reopened.FieldText(1), QStringLiteral("3"));
    }

    void anUnchangedNewRowIsDroppedByAMove()
    {
        TTable table;
        table.OpenFile(Path);
        table.MoveTo(1);
        table.Insert();
        QSignalSpy removed(&table, &TTable::RowsRemoved);
        table.Next();
        QCOMPARE(removed.count(), 1);
        QCOMPARE(table.RecordCount(), 5);
        QCOMPARE(table.State(), TDataSetState::Browse);
        QCOMPARE(table.FieldText(0), QStringLiteral("Rock"));  // from Sand, where the new row stood
        table.Append();
        table.MoveTo(0);
        QCOMPARE(table.RecordCount(), 5);
        QCOMPARE(table.RecNo(), 0);
        QCOMPARE(Fixture::Names(Path, QStringLiteral("Soil")).size(), 5);
        // A grid click below a dropped row lands on the row that was clicked.
        table.Insert();  // before Clay
        table.MoveTo(3);  // Rock, shown at index 3 while the new row stood at 0
        QCOMPARE(table.FieldText(0), QStringLiteral("Rock"));
        QCOMPARE(table.RecNo(), 2);
    }

    void deleteMakesTheNextRowCurrent()
    {
        TTable table;
        table.OpenFile(Path);
        table.MoveTo(1);
        table.Delete();
        QCOMPARE(table.RecNo(), 1);
        QCOMPARE(table.FieldText(0), QStringLiteral("Rock"));
        table.Last();
        table.Delete();
        QCOMPARE(table.FieldText(0), QStringLiteral("Peat"));
        QCOMPARE(Fixture::Names(Path, QStringLiteral("Soil")), QStringList({"Clay", "Rock", "Peat"}));
        // Deleting a row being edited removes the stored row; a new row is only dropped.
        table.SetFieldText(0, QStringLiteral("Changed"));
        table.Delete();
        table.Insert();
        table.SetFieldText(0, QStringLiteral("New"));
        table.Delete();
        QCOMPARE(Fixture::Names(Path, QStringLiteral("Soil")), QStringList({"Clay", "Rock"}));
        table.Delete();
        table.Delete();
        QVERIFY(table.IsEmpty());
        QCOMPARE(table.RecNo(), -1);
        QVERIFY(table.Bof() && table.Eof());
        QVERIFY(Fixture::Names(Path, QStringLiteral("Soil")).isEmpty());
    }

    void refreshKeepsTheCurrentRow()
    {
        TTable table;
        table.OpenFile(Path);
        table.MoveTo(2);  // Rock
        table.SetFieldText(1, QStringLiteral("3.25"));
        {
            TPlainConnection plain(Path);
            QVERIFY(plain.Exec(QStringLiteral("INSERT INTO Soil (rowid, Name, Lambda) VALUES (0, 'Loam', 1.0)")));
            QVERIFY(plain.Exec(QStringLiteral("UPDATE Soil SET Lambda = 9 WHERE Name = 'Peat'")));
        }
        table.Refresh();  // posts the pending change first
        QCOMPARE(table.State(), TDataSetState::Browse);
        QCOMPARE(table.RecordCount(), 6);
        QCOMPARE(table.RecNo(), 3);
        QCOMPARE(table.FieldText(0), QStringLiteral("Rock"));
        QCOMPARE(table.FieldText(1), QStringLiteral("3.25"));
        QCOMPARE(table.CellText(4, 1), QStringLiteral("9"));
        {
            TPlainConnection plain(Path);
            QVERIFY(plain.Exec(QStringLiteral("DELETE FROM Soil WHERE Name = 'Rock'")));
        }
        table.Refresh();
        QCOMPARE(table.RecNo(), 3);
        QCOMPARE(table.FieldText(0), QStringLiteral("Peat"));
    }
};

QTEST_GUILESS_MAIN(TTableTest)
#include "table_test.moc"
