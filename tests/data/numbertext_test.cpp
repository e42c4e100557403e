// Number cells as text: what the user sees reads back to the stored value.
#include "data/NumberText.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <cstring>

class TNumberTextTest : public QObject {
    Q_OBJECT

private slots:
    void formats_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("comma");
        QTest::newRow("integer") << 2.0 << "2" << "2";
        QTest::newRow("fraction") << 0.13 << "0.13" << "0,13";
        QTest::newRow("negative") << -0.5 << "-0.5" << "-0,5";
        QTest::newRow("negative zero") << -0.0 << "-0" << "-0";
        QTest::newRow("no grouping") << 20000000.0 << "20000000" << "20000000";
        QTest::newRow("small") << 0.0001 << "0.0001" << "0,0001";
        QTest::newRow("permeability") << 2.5e-7 << "2.5E-7" << "2,5E-7";
        QTest::newRow("vapour tight") << 1e-12 << "1E-12" << "1E-12";
        QTest::newRow("large") << 1.5e20 << "1.5E20" << "1,5E20";
        QTest::newRow("shortest digits") << 0.1 + 0.2 << "0.30000000000000004" << "0,30000000000000004";
        QTest::newRow("float widened") << double(0.1f) << "0.10000000149011612" << "0,10000000149011612";
        QTest::newRow("largest") << 1.7976931348623157e308 << "1.7976931348623157E308" << "1,7976931348623157E308";
        QTest::newRow("subnormal") << 5e-324 << "5E-324" << "5E-324";
    }
    void formats()
    {
        QFETCH(double, value);
        QFETCH(QString, point);
        QFETCH(QString, comma);
        QCOMPARE(FormatNumberText(value, '.'), point);
        QCOMPARE(FormatNumberText(value, ','), comma);
        // The user's locale decides, read at call time; Swedish Qt texts would group
        // digits and use a Unicode minus.
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        QCOMPARE(LocaleDecimalSeparator(), ',');
        QCOMPARE(FormatNumberText(value), comma);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        QCOMPARE(FormatNumberText(value), point);
        QLocale::setDefault(QLocale::c());
    }

    void everyTextReadsBackToItsValue()
    {
        QRandomGenerator random(20240611);
        for (int i = 0; i < 20000; ++i) {
            quint64 bits = random.generate64();
            double value;
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isfinite(value))
                continue;
            for (char separator : {'.', ','}) {
                const QString text = FormatNumberText(value, separator);
                const std::optional<double> back = ParseNumberCellText(text, separator);
                QVERIFY2(back && std::memcmp(&*back, &value, sizeof value) == 0, qPrintable(text));
            }
        }
    }

    void parses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "0,1" << "," << true << 0.1;
        QTest::newRow("point under comma") << "0.1" << "," << false << 0.0;
        QTest::newRow("spaces and sign") << "  +12 " << "." << true << 12.0;
        QTest::newRow("lone separator") << "," << "," << true << 0.0;
        QTest::newRow("leading separator") << "-.5e1" << "." << true << -5.0;
        QTest::newRow("exponent") << "2,5E-7" << "," << true << 2.5e-7;
        QTest::newRow("correctly rounded") << "9007199254740993" << "." << true << 9007199254740992.0;
        QTest::newRow("grouping") << "1 000" << "." << false << 0.0;
        QTest::newRow("unicode minus") << "\u22121" << "." << false << 0.0;
        QTest::newRow("beyond double") << "1E400" << "." << false << 0.0;
        QTest::newRow("underflow") << "1E-400" << "." << true << 0.0;
        QTest::newRow("empty") << "" << "." << false << 0.0;
    }
    void parses()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(bool, valid);
        QFETCH(double, value);
        const std::optional<double> parsed = ParseNumberCellText(text, separator.at(0).toLatin1());
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }
};

QTEST_GUILESS_MAIN(TNumberTextTest)
#include "numbertext_test.moc"
