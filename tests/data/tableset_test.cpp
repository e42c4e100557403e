// One language's five tables, and the reference records filled from their current rows.
#include "DataFixture.h"

#include "calc/numtext.h"
#include "calc/slab.h"
#include "data/NumberText.h"
#include "data/TDataSource.h"
#include "data/TDatabaseError.h"
#include "data/TTable.h"
#include "data/TTableSet.h"

#include <QLocale>

#include <cmath>

using Fixture::TPlainConnection;

class TTableSetTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture::TWorld> World;

    QString PathOf(int number) const { return World->Tables() + u'/' + TTableSet::FileName(TLanguage::English, number); }

    // The made-up reference rows of the worked examples, English files.
    void MakeEnglishTables()
    {
        World->PointAlias(World->Tables());
        Fixture::MakeTable(PathOf(1), QStringLiteral("CityEng"), QStringLiteral("City TEXT, T REAL, V REAL, RH REAL, VJ REAL"),
                           {{QStringLiteral("Anytown"), 7.0, 6.5, 80.0, 11.0}});
        Fixture::MakeTable(PathOf(2), QStringLiteral("ConcreteEng"), QStringLiteral("Concrete TEXT, L REAL, P REAL"),
                           {{QStringLiteral("C"), 1.7, 0.000001}});
        Fixture::MakeTable(PathOf(3), QStringLiteral("INSULATEng"), QStringLiteral("Insulation TEXT, L REAL, P REAL"),
                           {{QStringLiteral("I"), 0.036, 0.000005}});
        Fixture::MakeTable(PathOf(4), QStringLiteral("SOILEng"), QStringLiteral("Soil TEXT, L REAL"), {{QStringLiteral("S"), 2.0}});
        Fixture::MakeTable(PathOf(5), QStringLiteral("FloorEng"), QStringLiteral("Floor TEXT, Z REAL, R REAL"),
                           {{QStringLiteral("F"), 500000.0, 0.1}});
    }

private slots:
    void init()
    {
        World = std::make_unique<Fixture::TWorld>();
        QLocale::setDefault(QLocale::c());
    }
    void cleanup() { World.reset(); }

    void opensTheFiveTablesInOrder()
    {
        MakeEnglishTables();
        QVERIFY(QFile::remove(PathOf(3)));
        TTableSet set(TLanguage::English);
        for (int n = 1; n <= 5; ++n) {
            QCOMPARE(set.Table(n)->objectName(), QStringLiteral("Table%1").arg(n));
            QCOMPARE(set.DataSource(n)->objectName(), QStringLiteral("DataSource%1").arg(n));
            QCOMPARE(set.DataSource(n)->DataSet(), set.Table(n));
            QCOMPARE(set.findChild<TTable*>(QStringLiteral("Table%1").arg(n)), set.Table(n));
        }
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, set.Table(6));
        try {
            set.Open();
            QFAIL("opened without the insulation table");
        } catch (const TDatabaseError& error) {
            QVERIFY2(error.Message().contains(QLatin1String("'INSULATEng.DB'")), error.what());
        }
        QVERIFY(set.Table(1)->Active() && set.Table(2)->Active());
        QVERIFY(!set.Table(3)->Active() && !set.Table(4)->Active() && !set.Table(5)->Active());
        QCOMPARE(TTableSet::FileName(TLanguage::Swedish, 3), QStringLiteral("INSULAT.DB"));
        QCOMPARE(TTableSet::FileName(TLanguage::English, 5), QStringLiteral("FloorEng.DB"));
    }

    void readsTheTenCellsInOrderAndStopsAtTheFirstBadOne()
    {
        MakeEnglishTables();
        TTableSet set(TLanguage::English);
        set.Open();
        TSlabInput input;
        set.ReadSlabRecords(input, '.');
        QCOMPARE(input.Concrete.Conductivity, 1.7f);
        QCOMPARE(input.Soil.Conductivity, 2.0f);
        QCOMPARE(input.Insulation.Conductivity, 0.036f);
        QCOMPARE(input.City.Temperature, 7.0f);
        QCOMPARE(input.Concrete.Permeability, 0.000001f);
        QCOMPARE(input.Insulation.Permeability, 0.000005f);
        QCOMPARE(input.Floor.VapourResistance, 500000.0f);
        QCOMPARE(input.City.VapourContent, 6.5f);
        QCOMPARE(input.City.Column3, 80.0f);
        QCOMPARE(input.City.JulyVapourContent, 11.0f);
        QCOMPARE(input.Floor.HeatResistance, 0.0f);
        QCOMPARE(set.ReadFloorHeatResistance('.'), 0.1f);

        // Every cell bad at once: the reads must name them one after the other.
        const struct {
            int Table;
            const char* Column;
        } order[] = {{2, "L"}, {4, "L"}, {3, "L"}, {1, "T"}, {2, "P"}, {3, "P"}, {5, "Z"}, {1, "V"}, {1, "RH"}, {1, "VJ"}};
        const auto setCell = [&](int k, const QVariant& value) {
            TPlainConnection plain(PathOf(order[k].Table));
            QVERIFY(plain.Exec(QStringLiteral("UPDATE %1 SET %2 = ?").arg(QFileInfo(PathOf(order[k].Table)).completeBaseName(), QLatin1String(order[k].Column)),
                               {value}));
        };
        for (int k = 0; k < 10; ++k)
            setCell(k, QStringLiteral("bad %1").arg(k));
        setCell(9, QString());  // a NULL cell reads as the empty text
        for (int k = 0; k < 10; ++k) {
            for (int n = 1; n <= 5; ++n)
                set.Table(n)->Refresh();
            const std::string expected = k == 9 ? "'' is not a valid floating point value" : "'bad " + std::to_string(k) + "' is not a valid floating point value";
            try {
                set.ReadSlabRecords(input, '.');
                QFAIL("read a bad cell");
            } catch (const ConversionError& error) {
                QCOMPARE(std::string(error.what()), expected);
            }
            setCell(k, 1.0);
        }
        for (int n = 1; n <= 5; ++n)
            set.Table(n)->Refresh();
        set.ReadSlabRecords(input, '.');
        QCOMPARE(input.City.JulyVapourContent, 1.0f);
        // The floor heat resistance stops only its own read.
        TPlainConnection plain(PathOf(5));
        QVERIFY(plain.Exec(QStringLiteral("UPDATE FloorEng SET R = '0,1'")));
        set.Table(5)->Refresh();
        set.ReadSlabRecords(input, '.');
        QVERIFY_THROWS_EXCEPTION(ConversionError, set.ReadFloorHeatResistance('.'));
        QCOMPARE(set.ReadFloorHeatResistance(','), 0.1f);
    }

    void readsFollowTheCurrentColumnOrderAndTheLocale()
    {
        MakeEnglishTables();
        TTableSet set(TLanguage::English);
        set.Open();
        set.Table(1)->MoveField(2, 1);
        TSlabInput input;
        set.ReadSlabRecords(input, '.');
        QCOMPARE(input.City.Temperature, 6.5f);
        QCOMPARE(input.City.VapourContent, 7.0f);

        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        set.ReadSlabRecords(input, LocaleDecimalSeparator());
        QCOMPARE(input.Concrete.Conductivity, 1.7f);
        try {
            set.ReadSlabRecords(input, '.');
            QFAIL("read a comma under a full stop");
        } catch (const ConversionError& error) {
            QCOMPARE(std::string(error.what()), std::string("'1,7' is not a valid floating point value"));
        }
    }

    void emptyTablesAndMissingColumns()
    {
        MakeEnglishTables();
        TTableSet set(TLanguage::English);
        set.Open();
        while (!set.Table(4)->IsEmpty())
            set.Table(4)->Delete();
        TSlabInput input;
        try {
            set.ReadSlabRecords(input, '.');
            QFAIL("read an empty table");
        } catch (const ConversionError& error) {
            QCOMPARE(std::string(error.what()), std::string("'' is not a valid floating point value"));
        }
        // Fewer columns than the read needs: a message, never a read past the end.
        QVERIFY(QFile::remove(PathOf(1)));
        Fixture::MakeTable(PathOf(1), QStringLiteral("CityEng"), QStringLiteral("City TEXT, T REAL, V REAL"), {{QStringLiteral("A"), 1.0, 2.0}});
        set.Table(1)->Close();
        set.Table(1)->Open(QStringLiteral("Vilo"), QStringLiteral("CityEng.DB"));
        set.Table(4)->Insert();
        set.Table(4)->SetFieldText(1, QStringLiteral("2"));
        set.Table(4)->Post();
        try {
            set.ReadSlabRecords(input, '.');
            QFAIL("read past the last column");
        } catch (const TDatabaseError& error) {
            QVERIFY2(error.Message().contains(QLatin1String("'CityEng.DB'")) && error.Message().contains(QLatin1String("position 3")), error.what());
        }
    }

    void everyDefaultRowCalculates_data()
    {
        QTest::addColumn<TLanguage>("language");
        QTest::newRow("English") << TLanguage::English;
        QTest::newRow("Swedish") << TLanguage::Swedish;
    }
    void everyDefaultRowCalculates()
    {
        QFETCH(TLanguage, language);
        TTableSet set(language);
        set.Open();  // the default tables, seeded into this test's own data directory
        int calculated = 0;
        for (int number = 1; number <= 5; ++number) {
            TTable* table = set.Table(number);
            for (int row = 0; row < table->RecordCount(); ++row) {
                for (int n = 1; n <= 5; ++n)
                    set.Table(n)->First();
                table->MoveTo(row);
                for (int flags = 0; flags < 4; ++flags) {
                    TSlabInput input;
                    input.IndoorTemp = 20;
                    input.Width = 10;
                    input.Length = 15;
                    input.ConcreteThickness = 0.1f;
                    input.InsulationThickness = 0.1f;
                    input.MoistureSupplement = 4;
                    input.HasFloorCovering = flags & 1;
                    input.HasVapourBarrier = flags & 2;
                    const QString what = QStringLiteral("%1 row %2 '%3', flags %4")
                                             .arg(table->TableName()).arg(row).arg(table->FieldText(0)).arg(flags);
                    try {
                        set.ReadSlabRecords(input, LocaleDecimalSeparator());
                        if (input.HasFloorCovering)
                            input.Floor.HeatResistance = set.ReadFloorHeatResistance(LocaleDecimalSeparator());
                        const TSlabResult result = CalculateSlab(input);
                        QVERIFY2(std::isfinite(result.ConcreteTopRH) && result.ConcreteTopRH > 0, qPrintable(what));
                        QCOMPARE(result.JulyRH.has_value(), input.HasFloorCovering);
                        ++calculated;
                    } catch (const std::exception& error) {
                        QFAIL(qPrintable(what + QStringLiteral(": ") + QString::fromUtf8(error.what())));
                    }
                }
            }
        }
        QVERIFY(calculated >= 4 * (18 + 6 + 10 + 7 + 9));
    }
};

QTEST_GUILESS_MAIN(TTableSetTest)
#include "tableset_test.moc"
