// The fill-and-preview steps, checked on the page elements by name.
#include <QDate>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>

#include <stdexcept>

#include "data/TErrorGuard.h"
#include "ReportTestKit.h"
#include "calc/numtext.h"
#include "calc/slab.h"
#include "report/Unit6.h"
#include "report/Unit8.h"

namespace {

const QStringList FloorDependent{"QRDBText5", "QRDBText10", "QRLabel45", "QRDBText12",
                                 "QRLabel46", "QRLabel21",  "QRLabel32", "QRLabel42"};

}  // namespace

class FillTest : public QObject {
    Q_OBJECT
    TReportInput FInput;
    TReportPage FShown;   // the prepared page of the last preview
    int FShownSheets = 0;
    TPreviewDriver FDriver;

    void Report(TReportForm& form) {
        form.SetInputSource([this] { return FInput; });
        form.SetTableSource(SampleTables);
        FDriver = TPreviewDriver();
        FDriver.Run(form, [this](TPrintPreview& p) {
            FShown = p.Report().Page();
            FShownSheets = p.Report().SheetCount();
        });
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        FInput = SampleInput(true);
        FShown = TReportPage();
        FDriver = TPreviewDriver();
    }

    void floorDependentElements_data() {
        QTest::addColumn<bool>("floor");
        QTest::newRow("ticked") << true;
        QTest::newRow("not ticked") << false;
    }
    void floorDependentElements() {
        QFETCH(bool, floor);
        TForm6 form;
        FInput = SampleInput(floor);
        Report(form);
        QCOMPARE(FDriver.PreviewsSeen, 1);
        for (const auto& band : FShown.Bands)
            for (const auto& e : band.Elements)
                QCOMPARE(e.Enabled, FloorDependent.contains(e.Name) ? floor : true);
        // JulyRH is copied whether or not its row is printed.
        QCOMPARE(FShown.Element("QRLabel32").Text, QStringLiteral("77.1834"));
        const TReportRenderer laidOut(FShown);
        QCOMPARE(laidOut.Placed("QRLabel21") != nullptr, floor);
        QVERIFY(laidOut.Placed("QRLabel20"));
    }

    void resultBoxesByLanguage_data() {
        QTest::addColumn<bool>("swedish");
        QTest::addColumn<QString>("groundTempBox");
        QTest::addColumn<QString>("groundVapourBox");
        QTest::newRow("English") << false << "Edit9" << "Edit10";
        QTest::newRow("Swedish, crossed") << true << "Edit10" << "Edit9";
    }
    void resultBoxesByLanguage() {
        QFETCH(bool, swedish);
        QFETCH(QString, groundTempBox);
        QFETCH(QString, groundVapourBox);
        TForm6 english;
        TForm8 swedishForm;
        TReportForm& form = swedish ? static_cast<TReportForm&>(swedishForm) : english;
        FInput.Results = form.ResultTextsFromBoxes([](const QString& box) { return box; });
        QCOMPARE(FInput.Results.GroundTemp, groundTempBox);
        QCOMPARE(FInput.Results.GroundVapourContent, groundVapourBox);
        Report(form);
        // Rows 3 and 4: the ground temperature beside "°C", the vapour content beside "g/m^3".
        QCOMPARE(FShown.Element("QRLabel26").Text, groundTempBox);
        QCOMPARE(FShown.Element("QRLabel36").Text, QStringLiteral("°C"));
        QCOMPARE(FShown.Element("QRLabel27").Text, groundVapourBox);
        QCOMPARE(FShown.Element("QRLabel37").Text, QStringLiteral("g/m^3"));
        const QStringList values{"Edit6", "Edit7", "Edit8", groundTempBox, groundVapourBox,
                                 "Edit11", "Edit15", "Edit12", "Edit13", "Edit14"};
        for (int k = 0; k < 10; ++k)
            QCOMPARE(FShown.Element(QStringLiteral("QRLabel%1").arg(23 + k)).Text, values[k]);
    }

    void textsAreCopiedAsTyped() {
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        TForm8 form;
        FInput.InsulationThicknessText = QStringLiteral(" ,15 ");
        FInput.ConcreteThicknessText = QStringLiteral(",1");
        Report(form);
        QCOMPARE(FShown.Element("QRLabel7").Text, QStringLiteral(" ,15 "));
        QCOMPARE(FShown.Element("QRLabel6").Text, QStringLiteral(",1"));
        QCOMPARE(FShown.Element("QRLabel10").Text, FInput.Name);
        QCOMPARE(FShown.Element("QRLabel11").Text, FInput.Project);
        QCOMPARE(FShown.Element("QRSysData1").Text,
                 QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
        QCOMPARE(FShown.Element("QRLabel12").Text, QStringLiteral("Resultat"));
    }

    void databaseTextsAreReadWhenPrepared() {
        TForm8 form;
        Report(form);
        QCOMPARE(FShown.Element("QRDBText1").Text, QStringLiteral("1:Stad"));
        QCOMPARE(FShown.Element("QRDBText12").Text, QStringLiteral("5:Tot Ånggenomgåndsmotstånd"));
        QCOMPARE(FShown.Element("QRDBText11").Text, QStringLiteral("4:Värmeledningsförmågan"));
        // The next report reads the rows current then; a missing column prints nothing.
        form.SetTableSource([](int, const QString&) { return QString(); });
        FDriver.Run(form, [this](TPrintPreview& p) { FShown = p.Report().Page(); });
        QCOMPARE(FShown.Element("QRDBText1").Text, QString());
    }

    void memoHoldsTheLatestLinesOnly() {
        TForm6 form;
        Report(form);
        QCOMPARE(FShown.Element("QRMemo1").Lines, FInput.ContactLines);
        FInput.ContactLines.clear();
        Report(form);
        QVERIFY(FShown.Element("QRMemo1").Lines.isEmpty());
        QVERIFY(!TReportRenderer(FShown).Placed("QRMemo1"));  // only the caption prints
    }

    void longContactTextContinuesOnASecondSheet() {
        TForm6 form;
        for (int i = 0; i < 70; ++i) FInput.ContactLines << QStringLiteral("line %1").arg(i);
        Report(form);
        QCOMPARE(FShownSheets, 2);
        const TReportRenderer laidOut(FShown);
        // The page header repeats; the detail band follows the memo on the second sheet.
        for (int sheet = 0; sheet < 2; ++sheet) {
            const auto& placed = laidOut.Sheet(sheet);
            QVERIFY(std::any_of(placed.begin(), placed.end(),
                                [](const TPlacedElement& p) { return p.Element->Name == "QRLabel2"; }));
        }
        const auto& second = laidOut.Sheet(1);
        const auto memo = std::find_if(second.begin(), second.end(),
                                       [](const TPlacedElement& p) { return p.Element->Name == "QRMemo1"; });
        QVERIFY(memo != second.end());
        QVERIFY(memo->DrawRule);
        QVERIFY(laidOut.Placed("QRLabel12")->TopMm > memo->TopMm + memo->Lines.size() * 4.0);
    }

    void emptyResultsBeforeAnyCalculation() {
        TForm6 form;
        FInput.Results = {};
        Report(form);
        for (int k = 0; k < 10; ++k) {
            QVERIFY(FShown.Element(QStringLiteral("QRLabel%1").arg(23 + k)).Text.isEmpty());
            QVERIFY(!FShown.Element(QStringLiteral("QRLabel%1").arg(33 + k)).Text.isEmpty());
        }
        QCOMPARE(FShown.Element("QRLabel13").Text, QStringLiteral("Resistance (total):"));
    }

    void errorsStopBeforeThePreview_data() {
        QTest::addColumn<QString>("insulation");
        QTest::addColumn<QString>("concrete");
        QTest::addColumn<QString>("message");
        QTest::newRow("insulation read first") << "abc" << "x" << "'abc' is not a valid floating point value";
        QTest::newRow("other separator") << "0.1" << ",1" << "',1' is not a valid floating point value";
        QTest::newRow("both zero") << "0" << "0" << "Invalid floating point operation";
        QTest::newRow("cancelling") << "0.1" << "-0.1" << "Floating point division by zero";
    }
    void errorsStopBeforeThePreview() {
        QFETCH(QString, insulation);
        QFETCH(QString, concrete);
        QFETCH(QString, message);
        TForm6 form;
        FInput = SampleInput(false);
        Report(form);  // a first report leaves contact lines in the page
        FInput.InsulationThicknessText = insulation;
        FInput.ConcreteThicknessText = concrete;
        QSignalSpy after(&form, &TReportForm::AfterPreview);
        try {
            Report(form);
            QFAIL("no error");
        } catch (const std::exception& e) {
            QCOMPARE(QString::fromUtf8(e.what()), message);
        }
        QCOMPARE(FDriver.PreviewsSeen, 0);
        QCOMPARE(after.count(), 0);
        // Steps before the sketch have run: memo emptied, thickness texts copied.
        QVERIFY(form.QuickRep1.Element("QRMemo1").Lines.isEmpty());
        QCOMPARE(form.QuickRep1.Element("QRLabel7").Text, insulation);
        // Corrected, the next report works.
        FInput = SampleInput(false);
        Report(form);
        QCOMPARE(FDriver.PreviewsSeen, 1);
    }

    void hiddenButtonHandsErrorsToTheSink() {
        TForm6 form;
        FInput.InsulationThicknessText = QStringLiteral("abc");
        form.SetInputSource([this] { return FInput; });
        QString reported;
        const TErrorHandler previous = SetErrorHandler([&](const QString& message) { reported = message; });
        form.Button1->click();
        QCOMPARE(reported, QStringLiteral("'abc' is not a valid floating point value"));
    }

    void returnsOnlyWhenThePreviewCloses() {
        TForm6 form;
        QSignalSpy after(&form, &TReportForm::AfterPreview);
        QWidget other;
        auto* calculate = new QPushButton(QStringLiteral("Calculate"), &other);
        int clicks = 0;
        connect(calculate, &QPushButton::clicked, [&] { ++clicks; });
        other.show();
        form.SetInputSource([this] { return FInput; });
        FDriver.Run(form, [&](TPrintPreview& preview) {
            QVERIFY(preview.isVisible());
            QCOMPARE(preview.windowTitle(), QStringLiteral("Print Preview"));
            QCOMPARE(after.count(), 0);
            QTest::mouseClick(calculate, Qt::LeftButton);  // the other windows stay usable
            QCOMPARE(clicks, 1);
        });
        QVERIFY(!FDriver.ReturnedBeforeClose);
        QCOMPARE(FDriver.PreviewsSeen, 1);
        QCOMPARE(after.count(), 1);
        QVERIFY(!TPrintPreview::OpenPreview());  // discarded once closed
    }
};

QTEST_MAIN(FillTest)
#include "fill_test.moc"
