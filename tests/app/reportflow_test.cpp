// The report road through the windows: the details dialog, OK, the preview and
// what the other windows do meanwhile and afterwards.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/TViloApplication.h"
#include "report/TPrintPreview.h"
#include "report/Unit6.h"
#include "report/Unit8.h"
#include "support/ViloTestSupport.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit7.h"
#include "ui/Unit9.h"

using namespace ViloTest;

namespace {

struct TProgram {
    TTestHome Home;
    std::unique_ptr<TViloApplication> App = std::make_unique<TViloApplication>();
    TProgram()
    {
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        App->CreateForms();
        App->InstallErrorBox();
        App->ShowMainWindow();
    }
    ~TProgram() { QLocale::setDefault(QLocale::c()); }
};

// Presses OK of Dialog; while the preview it opens is up, runs WhileOpen, then closes
// it. Returns whether OK returned only after the preview had closed.
bool ReportWithPreview(QPushButton* ok, const std::function<void(TPrintPreview*)>& WhileOpen)
{
    bool closedByUs = false;
    bool sawPreview = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        TPrintPreview* preview = TPrintPreview::OpenPreview();
        if (!preview || !preview->isVisible() || closedByUs)
            return;
        sawPreview = true;
        poll.stop();
        WhileOpen(preview);
        closedByUs = true;
        preview->close();
    });
    poll.start();
    QTest::mouseClick(ok, Qt::LeftButton);
    return sawPreview && closedByUs;
}

}  // namespace

class ReportFlowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseProgramFont(); }

    void englishReportWhileTheOtherWindowsStayUsable()
    {
        TProgram p;
        QTest::mouseClick(p.App->FormLanguage->Image1, Qt::LeftButton, {}, QPoint(28, 20));
        QTest::mouseClick(p.App->FormEng->Button5, Qt::LeftButton);
        QTest::mouseClick(p.App->FormEng->Button5, Qt::LeftButton);  // the same single dialog
        QVERIFY(p.App->Form7->isVisible());
        int dialogs = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            dialogs += w->objectName() == QLatin1String("Form7");
        QCOMPARE(dialogs, 1);
        p.App->Form7->Edit1->setText(QStringLiteral("A. Engineer"));

        bool calculatedMeanwhile = false;
        const bool okWaited = ReportWithPreview(p.App->Form7->Button1, [&](TPrintPreview* preview) {
            QVERIFY(!p.App->Form7->isVisible());
            QCOMPARE(preview->windowTitle(), QString("Print Preview"));
            // The calculation window works while the preview is open ...
            QTest::mouseClick(p.App->FormEng->Button1, Qt::LeftButton);
            calculatedMeanwhile = !p.App->FormEng->Edit6->text().isEmpty();
            // ... and a switch to Swedish in the meantime.
            QTest::mouseClick(p.App->FormEng->Button4, Qt::LeftButton);
            QVERIFY(!p.App->FormEng->isVisible());
        });
        QVERIFY(okWaited);
        QVERIFY(calculatedMeanwhile);
        // Closing the English preview shows the English window beside the Swedish one.
        QVERIFY(p.App->FormEng->isVisible());
        QVERIFY(p.App->Form3->isVisible());
        QCOMPARE(p.App->Form6->QuickRep1.Element("QRLabel10").Text, QString("A. Engineer"));
    }

    void swedishDialogClosesWithoutReportAndKeepsItsTexts()
    {
        TProgram p;
        QTest::mouseClick(p.App->FormLanguage->Image2, Qt::LeftButton, {}, QPoint(28, 20));
        QTest::mouseClick(p.App->Form3->Button5, Qt::LeftButton);
        QVERIFY(p.App->Form9->isVisible());
        p.App->Form9->Edit2->setText(QStringLiteral("Villa Ek"));
        p.App->Form9->close();
        QVERIFY(!p.App->Form9->isVisible());
        QVERIFY(TPrintPreview::OpenPreview() == nullptr);
        QTest::mouseClick(p.App->Form3->Button5, Qt::LeftButton);
        QCOMPARE(p.App->Form9->Edit2->text(), QString("Villa Ek"));

        // The Swedish report prints the Swedish window's texts; its preview closing
        // brings nothing back.
        p.App->Form3->Edit1->setText(QStringLiteral("21"));
        QTest::mouseClick(p.App->Form3->Button1, Qt::LeftButton);
        const QString groundTemp = p.App->Form3->Edit10->text();
        QVERIFY(ReportWithPreview(p.App->Form9->Button1, [&](TPrintPreview*) {
            QCOMPARE(p.App->Form8->QuickRep1.Element("QRLabel26").Text, groundTemp);
            QCOMPARE(p.App->Form8->QuickRep1.Element("QRLabel11").Text, QString("Villa Ek"));
        }));
        QVERIFY(!p.App->FormEng->isVisible());
    }

    void thicknessThatIsNoNumberStopsBeforeThePreview()
    {
        TProgram p;
        QTest::mouseClick(p.App->FormLanguage->Image1, Qt::LeftButton, {}, QPoint(28, 20));
        p.App->FormEng->Edit4->setText(QStringLiteral("abc"));
        QTest::mouseClick(p.App->FormEng->Button5, Qt::LeftButton);
        TBoxAnswerer boxes;
        QTest::mouseClick(p.App->Form7->Button1, Qt::LeftButton);
        const QList<TBoxSeen> seen = boxes.Take();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].Title, QString("Vilo"));
        QCOMPARE(seen[0].Text, QString("'abc' is not a valid floating point value."));
        QVERIFY(TPrintPreview::OpenPreview() == nullptr);
        QVERIFY(!p.App->Form7->isVisible());
        // Corrected, the next report works.
        p.App->FormEng->Edit4->setText(QStringLiteral(",2"));
        QTest::mouseClick(p.App->FormEng->Button5, Qt::LeftButton);
        QVERIFY(ReportWithPreview(p.App->Form7->Button1, [](TPrintPreview*) {}));
        QCOMPARE(p.App->Form6->QuickRep1.Element("QRLabel7").Text, QString(",2"));
    }
};

QTEST_MAIN(ReportFlowTest)
#include "reportflow_test.moc"
