// The preview window: pages, keys, zoom, status bar, print to a PDF printer, save as PDF.
#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>

#include <memory>

#include "data/TErrorGuard.h"
#include "ReportTestKit.h"
#include "report/Unit6.h"

class PreviewTest : public QObject {
    Q_OBJECT
    QTemporaryDir FDir;

    // A prepared English page whose contact text runs onto a second sheet.
    static TReportPage TwoSheets() {
        TForm6 form;
        TReportInput input = SampleInput(true);
        for (int i = 0; i < 70; ++i) input.ContactLines << QStringLiteral("line %1").arg(i);
        form.SetInputSource([input] { return input; });
        form.SetTableSource(SampleTables);
        form.Fill();
        return form.Prepared();
    }

    static std::unique_ptr<TPrintPreview> Opened(const TReportPage& page) {
        auto preview = std::make_unique<TPrintPreview>(page);
        preview->Open();
        if (!QTest::qWaitForWindowExposed(preview.get())) qWarning("preview not exposed");
        return preview;
    }

    static QString Status(const TPrintPreview& p) { return p.findChild<QLabel*>("PageStatus")->text(); }

    static bool IsPdf(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
    }

private slots:
    void pagesAndKeys() {
        const auto p = Opened(TwoSheets());
        QCOMPARE(p->windowTitle(), QStringLiteral("Print Preview"));
        QCOMPARE(p->PageCount(), 2);
        QCOMPARE(Status(*p), QStringLiteral("Page 1 of 2"));
        QTest::keyClick(p.get(), Qt::Key_PageDown);
        QCOMPARE(p->CurrentPage(), 2);
        QCOMPARE(Status(*p), QStringLiteral("Page 2 of 2"));
        QTest::keyClick(p.get(), Qt::Key_PageDown);  // stays on the last page
        QCOMPARE(p->CurrentPage(), 2);
        QTest::keyClick(p.get(), Qt::Key_Home);
        QCOMPARE(p->CurrentPage(), 1);
        QTest::keyClick(p.get(), Qt::Key_End);
        QCOMPARE(p->CurrentPage(), 2);
        QTest::keyClick(p.get(), Qt::Key_PageUp);
        QCOMPARE(p->CurrentPage(), 1);
        p->findChild<QSpinBox*>("PageBox")->setValue(2);  // go to page
        QCOMPARE(p->CurrentPage(), 2);
        p->findChild<QAction*>("FirstPageAction")->trigger();
        QCOMPARE(p->CurrentPage(), 1);
        p->findChild<QAction*>("LastPageAction")->trigger();
        QCOMPARE(Status(*p), QStringLiteral("Page 2 of 2"));

        QSignalSpy closed(p.get(), &TPrintPreview::Closed);
        QTest::keyClick(p.get(), Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!p->isVisible());
    }

    void zoomAndCloseButton() {
        const auto p = Opened(TwoSheets());
        auto* view = p->findChild<QPrintPreviewWidget*>();
        p->findChild<QAction*>("ActualSizeAction")->trigger();
        QCOMPARE(view->zoomFactor(), 1.0);
        p->findChild<QAction*>("PageWidthAction")->trigger();
        QCOMPARE(view->zoomMode(), QPrintPreviewWidget::FitToWidth);
        p->findChild<QAction*>("FitPageAction")->trigger();
        QCOMPARE(view->zoomMode(), QPrintPreviewWidget::FitInView);
        // Opened centred on the screen.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY((p->frameGeometry().center() - screen.center()).manhattanLength() <= 4);
        auto* close = p->findChild<QPushButton*>("CloseButton");
        QCOMPARE(close->text(), QStringLiteral("&Close"));
        QSignalSpy closed(p.get(), &TPrintPreview::Closed);
        QTest::mouseClick(close, Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
    }

    void saveAsPdfAndPrintToPdfPrinter() {
        const auto p = Opened(TwoSheets());
        QString error;
        const TErrorHandler previous = SetErrorHandler([&](const QString& message) { error = message; });
        const QString saved = FDir.filePath("saved.pdf");
        p->ChoosePdfFileName = [&](QWidget*) { return saved; };
        p->findChild<QAction*>("SavePdfAction")->trigger();
        QVERIFY(IsPdf(saved));
        // Without a printer installed, printing goes to a PDF file named first.
        const QString printed = FDir.filePath("printed.pdf");
        p->ChoosePdfFileName = [&](QWidget*) { return printed; };
        p->findChild<QAction*>("PrintAction")->trigger();
        QVERIFY(IsPdf(printed));
        QVERIFY(error.isEmpty());
        // A file that cannot be written is an error, told to the sink.
        p->ChoosePdfFileName = [&](QWidget*) { return FDir.filePath("no/such/folder/x.pdf"); };
        p->findChild<QAction*>("SavePdfAction")->trigger();
        QVERIFY2(error.startsWith("Cannot write the file"), qPrintable(error));
    }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
