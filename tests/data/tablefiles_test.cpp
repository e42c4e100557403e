// Table files as they are found: missing, damaged, locked, read-only, shared with
// another program, and holding rows that another program stored.
#include "DataFixture.h"

#include "data/TDatabaseError.h"
#include "data/TTable.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <unistd.h>

using Fixture::TPlainConnection;

class TTableFilesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture::TWorld> World;
    QString Path;

    static QString MessageOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const TDatabaseError& error) {
            return error.Message();
        }
        return QString();
    }

    // Runs the probe on Path in a child that cannot bypass file modes: as root the
    // capabilities that override them are dropped; as any other user modes hold anyway.
    QString Probe()
    {
        QProcess child;
        const QString probe = QStringLiteral(VILO_TABLE_PROBE);
        if (::geteuid() == 0) {
            child.start(QStringLiteral("setpriv"), {QStringLiteral("--bounding-set=-dac_override,-dac_read_search,-fowner"),
                                                    QStringLiteral("--inh-caps=-all"), probe, Path});
        } else {
            child.start(probe, {Path});
        }
        if (!child.waitForFinished(30000) || child.exitCode() != 0)
            qWarning("probe failed: %s %s", child.readAllStandardError().constData(), qPrintable(child.errorString()));
        return QString::fromUtf8(child.readAllStandardOutput());
    }

private slots:
    void init()
    {
        World = std::make_unique<Fixture::TWorld>();
        World->PointAlias(World->Tables());
        Path = World->Tables() + QStringLiteral("/Floor.db");
        Fixture::MakeTable(Path, QStringLiteral("Floor"), QStringLiteral("Name TEXT, Z REAL, R REAL"),
                           {{QStringLiteral("PVC"), 2e6, 0.01}, {QStringLiteral("Linoleum"), 3e5, 0.015}});
    }
    void cleanup()
    {
        QFile::setPermissions(Path, QFile::ReadOwner | QFile::WriteOwner);
        World.reset();
    }

    void aMissingFileIsAnErrorAndStaysMissing()
    {
        TTable table;
        const QString message = MessageOf([&] { table.Open(QStringLiteral("Vilo"), QStringLiteral("FloorEng.DB")); });
        QVERIFY2(message.contains(QLatin1String("'FloorEng.DB'")) && message.contains(World->Tables()), qPrintable(message));
        QVERIFY(!QFile::exists(World->Tables() + QStringLiteral("/FloorEng.DB")));
        QVERIFY(!table.Active());
    }

    void aMissingAliasDirectoryIsAnErrorAndStaysMissing()
    {
        const QString missing = World->Root() + QStringLiteral("/nowhere");
        World->PointAlias(missing);
        TTable table;
        const QString message = MessageOf([&] { table.Open(QStringLiteral("Vilo"), QStringLiteral("Floor.db")); });
        QVERIFY2(message.contains(QLatin1String("'Floor.db'")) && message.contains(missing), qPrintable(message));
        QVERIFY(!QFile::exists(missing));
    }

    void aFileThatIsNoTableFailsToOpenUnchanged_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QByteArray random(4096, '\0');
        for (char& byte : random)
            byte = char(QRandomGenerator::global()->generate());
        QTest::newRow("random bytes") << random;
        QTest::newRow("text") << QByteArray("Name;Z;R\nPVC;2000000;0.01\n");
        QTest::newRow("empty file") << QByteArray();
    }
    void aFileThatIsNoTableFailsToOpenUnchanged()
    {
        QFETCH(QByteArray, contents);
        QFile file(Path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
        file.close();
        const QByteArray before = Fixture::FileHash(Path);
        TTable table;
        const QString message = MessageOf([&] { table.OpenFile(Path); });
        QVERIFY2(message.contains(QLatin1String("'Floor.db'")) && message.contains(World->Tables()), qPrintable(message));
        QCOMPARE(Fixture::FileHash(Path), before);
        QCOMPARE(QDir(World->Tables()).entryList(QDir::Files), QStringList{QStringLiteral("Floor.db")});
    }

    void aLockedFileFailsToOpenAndRefusesAPost()
    {
        {
            TPlainConnection other(Path);
            QVERIFY(other.Exec(QStringLiteral("BEGIN EXCLUSIVE")));
            TTable table;
            const QString message = MessageOf([&] { table.OpenFile(Path); });
            QVERIFY2(message.contains(QLatin1String("locked")) && message.contains(QLatin1String("'Floor.db'")), qPrintable(message));
            QVERIFY(other.Exec(QStringLiteral("ROLLBACK")));
        }
        TTable table;
        table.OpenFile(Path);
        table.SetFieldText(2, QStringLiteral("0.02"));
        {
            TPlainConnection other(Path);
            QVERIFY(other.Exec(QStringLiteral("BEGIN IMMEDIATE")));
            const QString message = MessageOf([&] { table.Post(); });
            QVERIFY2(message.contains(QLatin1String("locked")) && message.contains(QLatin1String("'Floor.db'")), qPrintable(message));
            QCOMPARE(table.State(), TDataSetState::Edit);
            QCOMPARE(table.FieldText(2), QStringLiteral("0.02"));
            QVERIFY(other.Exec(QStringLiteral("ROLLBACK")));
        }
        table.Post();
        TPlainConnection plain(Path);
        QCOMPARE(plain.Rows(QStringLiteral("SELECT R FROM Floor WHERE rowid = 1")).value(0).value(0).toDouble(), 0.02);
    }

    void aReadOnlyFileOpensForBrowsingOnly()
    {
        QVERIFY(QFile::setPermissions(Path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const QByteArray before = Fixture::FileHash(Path);
        const QString output = Probe();
        QVERIFY2(output.startsWith(QLatin1String("open rows=2 canmodify=0 first=PVC\n")), qPrintable(output));
        QVERIFY2(output.contains(QLatin1String("change refused: Table 'Floor.db' is read-only")), qPrintable(output));
        QCOMPARE(Fixture::FileHash(Path), before);
        QCOMPARE(QDir(World->Tables()).entryList(QDir::Files), QStringList{QStringLiteral("Floor.db")});
    }

    void anUnreadableFileFailsToOpen()
    {
        QVERIFY(QFile::setPermissions(Path, QFile::WriteOwner));
        const QString output = Probe();
        QVERIFY2(output.startsWith(QLatin1String("open failed: Cannot open table 'Floor.db'")) && output.contains(World->Tables()) &&
                     output.contains(QLatin1String("cannot be read")),
                 qPrintable(output));
        // The same probe on a writable file does change it: the child's check is real.
        QVERIFY(QFile::setPermissions(Path, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY2(Probe().contains(QLatin1String("posted")), "the probe could not change a writable file");
        QCOMPARE(Fixture::Names(Path, QStringLiteral("Floor")).value(0), QStringLiteral("changed"));
    }

    void twoProgramsEditingTheSameRow()
    {
        TTable mine;
        mine.OpenFile(Path);
        TTable theirs;
        theirs.OpenFile(Path);
        theirs.SetFieldText(0, QStringLiteral("PVC 2 mm"));
        mine.SetFieldText(2, QStringLiteral("0.03"));
        theirs.Post();

        const QString message = MessageOf([&] { mine.Post(); });
        QVERIFY2(message.contains(QLatin1String("'Floor.db'")) && message.contains(QLatin1String("changed by another program")), qPrintable(message));
        QCOMPARE(mine.State(), TDataSetState::Edit);
        QCOMPARE(mine.FieldText(2), QStringLiteral("0.03"));
        QCOMPARE(mine.FieldText(0), QStringLiteral("PVC"));
        TPlainConnection plain(Path);
        QCOMPARE(plain.Rows(QStringLiteral("SELECT Name, R FROM Floor WHERE rowid = 1")).value(0),
                 QVariantList({QStringLiteral("PVC 2 mm"), 0.01}));

        // A move cannot leave the refused row either.
        QVERIFY(!MessageOf([&] { mine.Next(); }).isEmpty());
        QCOMPARE(mine.RecNo(), 0);
        mine.Cancel();
        mine.Refresh();
        QCOMPARE(mine.FieldText(0), QStringLiteral("PVC 2 mm"));
        mine.SetFieldText(2, QStringLiteral("0.03"));
        mine.Post();
        QCOMPARE(plain.Rows(QStringLiteral("SELECT Name, R FROM Floor WHERE rowid = 1")).value(0),
                 QVariantList({QStringLiteral("PVC 2 mm"), 0.03}));

        // Deleting a row that the other program changed or removed is refused as well.
        theirs.Refresh();
        theirs.Next();
        QVERIFY(plain.Exec(QStringLiteral("UPDATE Floor SET Z = 1 WHERE rowid = 2")));
        QVERIFY(MessageOf([&] { theirs.Delete(); }).contains(QLatin1String("changed by another program")));
        theirs.Refresh();
        QVERIFY(plain.Exec(QStringLiteral("DELETE FROM Floor WHERE rowid = 2")));
        QVERIFY(MessageOf([&] { theirs.Delete(); }).contains(QLatin1String("deleted by another program")));
        theirs.SetFieldText(0, QStringLiteral("gone"));
        QVERIFY(MessageOf([&] { theirs.Post(); }).contains(QLatin1String("deleted by another program")));
        QCOMPARE(plain.Rows(QStringLiteral("SELECT count(*) FROM Floor")).value(0).value(0).toInt(), 1);
    }

    void rowsStoredByOtherProgramsAreShownAsTheyAre()
    {
        const QString path = World->Tables() + QStringLiteral("/City.db");
        Fixture::MakeTable(path, QStringLiteral("City"), QStringLiteral("Stad TEXT, T REAL, V REAL, Note TEXT, Extra"),
                           {{QStringLiteral("Kiruna"), QStringLiteral("cold"), QVariant(), 7, QByteArray("raw")}});
        TTable table;
        table.OpenFile(path);
        QCOMPARE(table.FieldText(1), QStringLiteral("cold"));
        QCOMPARE(table.FieldText(2), QString());
        QCOMPARE(table.FieldText(3), QStringLiteral("7"));
        QCOMPARE(table.FieldText(4), QStringLiteral("raw"));
        // Changing one cell leaves the others as they were stored.
        table.SetFieldText(2, QStringLiteral("3.75"));
        table.Post();
        TPlainConnection plain(path);
        QCOMPARE(plain.Rows(QStringLiteral("SELECT T, typeof(T), V, Extra FROM City")).value(0),
                 QVariantList({QStringLiteral("cold"), QStringLiteral("text"), 3.75, QByteArray("raw")}));

        // A table with fewer columns opens; reading past its last column is a message.
        const QString shortPath = World->Tables() + QStringLiteral("/SOIL.DB");
        Fixture::MakeTable(shortPath, QStringLiteral("SOIL"), QStringLiteral("Mark TEXT"), {{QStringLiteral("Lera")}});
        TTable soil;
        soil.OpenFile(shortPath);
        QVERIFY(MessageOf([&] { soil.FieldText(1); }).contains(QLatin1String("'SOIL.DB'")));
    }

    void aFileWithSeveralTablesOpensTheOneOfItsName()
    {
        TPlainConnection plain(Path);
        QVERIFY(plain.Exec(QStringLiteral("CREATE TABLE Another (x)")));
        TTable table;
        table.OpenFile(Path);
        QCOMPARE(table.FieldNames(), QStringList({"Name", "Z", "R"}));
        const QString dotted = World->Tables() + QStringLiteral("/Odd.db");
        Fixture::MakeTable(dotted, QStringLiteral("Odd.db"), QStringLiteral("Name TEXT"), {{QStringLiteral("one")}});
        TTable odd;
        odd.OpenFile(dotted);
        odd.SetFieldText(0, QStringLiteral("two"));
        odd.Post();
        QCOMPARE(Fixture::Names(dotted, QStringLiteral("Odd.db")), QStringList{QStringLiteral("two")});
    }
};

QTEST_GUILESS_MAIN(TTableFilesTest)
#include "tablefiles_test.moc"
