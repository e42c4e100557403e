// Where the alias points, and the default tables written on first use.
#include "DataFixture.h"

#include "data/TAlias.h"
#include "data/TDatabaseError.h"
#include "data/TTable.h"

#include <QCoreApplication>

class TAliasTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture::TWorld> World;

private slots:
    void initTestCase()
    {
        // Before any other settings call: the engine's file under XDG_CONFIG_HOME (set in main).
        QCOMPARE(TAlias::SettingsFilePath(), qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Vilo/engine.ini"));
    }

    void init()
    {
        World = std::make_unique<Fixture::TWorld>();
    }
    void cleanup() { World.reset(); }

    void aConfiguredAliasIsUsedAsItIs()
    {
        World->PointAlias(World->Tables());
        QCOMPARE(TAlias::Directory(), World->Tables());
        QVERIFY(QDir(World->Tables()).isEmpty());
        QVERIFY(!QFile::exists(World->Root() + QStringLiteral("/data")));
        QVERIFY_THROWS_EXCEPTION(TDatabaseError, TAlias::Directory(QStringLiteral("Other")));
    }

    void theDefaultTablesAreSeededOnceAndLeftAlone()
    {
        const QString expected = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/tables");
        QCOMPARE(expected, World->Root() + QStringLiteral("/data/Vilo/vilo/tables"));
        QCOMPARE(TAlias::Directory(), expected);
        QStringList files = QDir(expected).entryList(QDir::Files);
        files.sort();
        QStringList names = TAlias::DefaultFileNames();
        names.sort();
        QCOMPARE(files, names);
        // Nothing but the table directory itself is left beside it.
        QCOMPARE(QDir(expected + QStringLiteral("/..")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("tables")});

        // A change made by the user survives the next start.
        {
            TTable table;
            table.Open(QStringLiteral("Vilo"), QStringLiteral("SOIL.DB"));
            QCOMPARE(table.FieldText(0), QStringLiteral("Lera eller silt"));
            table.Delete();
        }
        QCOMPARE(TAlias::Directory(), expected);
        TTable table;
        table.Open(QStringLiteral("Vilo"), QStringLiteral("SOIL.DB"));
        QCOMPARE(table.FieldText(0), QStringLiteral("Sand eller grus"));

        // A file removed later is a start-up error, never seeded again.
        QVERIFY(QFile::remove(expected + QStringLiteral("/CityEng.DB")));
        TTable city;
        try {
            city.Open(QStringLiteral("Vilo"), QStringLiteral("CityEng.DB"));
            QFAIL("opened a removed table");
        } catch (const TDatabaseError& error) {
            QVERIFY(error.Message().contains(QLatin1String("'CityEng.DB'")) && error.Message().contains(expected));
        }
        QVERIFY(!QFile::exists(expected + QStringLiteral("/CityEng.DB")));
    }

    void anExistingDefaultDirectoryIsNeverFilled()
    {
        const QString expected = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/tables");
        QVERIFY(QDir().mkpath(expected));
        QCOMPARE(TAlias::Directory(), expected);
        QVERIFY(QDir(expected).isEmpty());
    }

    void theDefaultTablesCarryTheirColumnNames_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("columns");  // leading columns; an empty name stands for any
        QTest::addColumn<int>("minimumRows");
        QTest::newRow("City.db") << "City.db" << QStringList{"Stad", "", "", "", ""} << 18;
        QTest::newRow("Concrete.db") << "Concrete.db" << QStringList{"Betong", "Värmeledningsförmåga", "Ångpermeabilitet"} << 6;
        QTest::newRow("INSULAT.DB") << "INSULAT.DB" << QStringList{"Isolering", "Värmekonduktivitet", "Ångpermeabilitet"} << 10;
        QTest::newRow("SOIL.DB") << "SOIL.DB" << QStringList{"Mark", "Värmeledningsförmågan"} << 7;
        QTest::newRow("Floor.db") << "Floor.db" << QStringList{"Golv", "Tot Ånggenomgåndsmotstånd", "Total Värmemotstånd"} << 9;
        QTest::newRow("CityEng.DB") << "CityEng.DB" << QStringList{"City", "", "", "", ""} << 26;
        QTest::newRow("ConcreteEng.DB") << "ConcreteEng.DB" << QStringList{"Concrete", "Thermal conductivity", "Permeability"} << 6;
        QTest::newRow("INSULATEng.DB") << "INSULATEng.DB" << QStringList{"Insulation", "Thermal conductivity", "Permeability"} << 10;
        QTest::newRow("SOILEng.DB") << "SOILEng.DB" << QStringList{"Soil", "Thermal Conductivity (uf)"} << 7;
        QTest::newRow("FloorEng.DB") << "FloorEng.DB" << QStringList{"Floor construction", "Tot water vapour resist.", "Total heat resistance"} << 9;
    }
    void theDefaultTablesCarryTheirColumnNames()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, columns);
        QFETCH(int, minimumRows);
        TTable table;
        table.Open(QStringLiteral("Vilo"), file);
        QCOMPARE(table.FieldCount(), columns.size());
        for (int i = 0; i < columns.size(); ++i) {
            if (!columns[i].isEmpty())
                QCOMPARE(table.FieldName(i), columns[i]);
            QCOMPARE(table.FieldIsNumeric(i), i > 0);
        }
        QVERIFY(table.RecordCount() >= minimumRows);
        // No name twice, no number cell empty.
        const QStringList names = table.ColumnValues(table.FieldName(0));
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        for (int row = 0; row < table.RecordCount(); ++row)
            for (int i = 1; i < columns.size(); ++i)
                QVERIFY(!table.CellText(row, i).isEmpty());
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Vilo"));
    QCoreApplication::setApplicationName(QStringLiteral("vilo"));
    TAliasTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "alias_test.moc"
