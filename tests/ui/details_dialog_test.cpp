// The report details dialogs, driven from the keyboard as a user would.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <stdexcept>

#include "data/TErrorGuard.h"
#include "ui/Unit7.h"
#include "ui/Unit9.h"

class DetailsDialogTest : public QObject {
    Q_OBJECT
    QTimer FWatchdog;  // a modal box would block a test: close it and fail instead

    std::unique_ptr<TDetailsDialog> Shown(bool swedish, int* reports) {
        std::unique_ptr<TDetailsDialog> dialog;
        if (swedish) dialog = std::make_unique<TForm9>();
        else dialog = std::make_unique<TForm7>();
        dialog->SetReportAction([reports] { ++*reports; });
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        if (!QTest::qWaitForWindowActive(dialog.get())) qWarning("dialog not active");
        return dialog;
    }

private slots:
    void initTestCase() {
        connect(&FWatchdog, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
                QFAIL("an unexpected modal window was open");
            }
        });
        FWatchdog.start(100);
    }

    void layoutAndCaptions_data() {
        QTest::addColumn<bool>("swedish");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("English") << false << QStringList{"Name:", "Project:", "Contact info:"};
        QTest::newRow("Swedish") << true << QStringList{"Nam:", "Projekt:", "Kontakt:"};
    }
    void layoutAndCaptions() {
        QFETCH(bool, swedish);
        QFETCH(QStringList, captions);
        int reports = 0;
        const auto d = Shown(swedish, &reports);
        QCOMPARE(d->windowTitle(), QStringLiteral("Info"));
        QCOMPARE(d->Label1->text(), captions[0]);
        QCOMPARE(d->Label2->text(), captions[1]);
        QCOMPARE(d->Label3->text(), captions[2]);
        QCOMPARE(d->Button1->text(), QStringLiteral("OK"));
        QCOMPARE(d->Label3->pos(), QPoint(32, 64));
        QCOMPARE(d->Edit1->geometry(), QRect(144, 16, 241, 21));
        QCOMPARE(d->Edit2->geometry(), QRect(144, 40, 241, 21));
        QCOMPARE(d->Memo1->geometry(), QRect(144, 64, 241, 145));
        QCOMPARE(d->Button1->geometry(), QRect(176, 232, 75, 25));
        QCOMPARE(d->findChild<QLineEdit*>("Edit1"), d->Edit1);
        const bool closeButton = d->windowFlags().testFlag(Qt::WindowCloseButtonHint);
        QCOMPARE(closeButton, swedish);
        QCOMPARE(d->windowFlags().testFlag(Qt::WindowMaximizeButtonHint), swedish);
        if (!swedish) {
            QCOMPARE(d->size(), QSize(422, 264));
            QCOMPARE(d->minimumSize(), d->maximumSize());
        }
    }

    void keyboardOrderAndKeysThatDoNotConfirm_data() {
        QTest::addColumn<bool>("swedish");
        QTest::newRow("English") << false;
        QTest::newRow("Swedish") << true;
    }
    void keyboardOrderAndKeysThatDoNotConfirm() {
        QFETCH(bool, swedish);
        int reports = 0;
        const auto d = Shown(swedish, &reports);
        d->Edit1->setFocus();
        QCOMPARE(QApplication::focusWidget(), d->Edit1);
        QTest::keyClicks(d->Edit1, "Anna");
        QTest::keyClick(d->Edit1, Qt::Key_Return);  // Enter in a one-line box: nothing
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d->Edit2);
        QTest::keyClick(d->Edit2, Qt::Key_Enter);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d->Memo1);
        QTest::keyClicks(d->Memo1, "AB");
        QTest::keyClick(d->Memo1, Qt::Key_Return);  // a new line in the contact box
        QTest::keyClicks(d->Memo1, "Lund");
        QCOMPARE(d->Memo1->toPlainText(), QStringLiteral("AB\nLund"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d->Button1);
        QTest::keyClick(d->Button1, Qt::Key_Escape);
        QCOMPARE(reports, 0);
        QVERIFY(d->isVisible());  // Esc closes neither dialog
        QCOMPARE(d->Name(), QStringLiteral("Anna"));
        QTest::keyClick(d->Button1, Qt::Key_Space);  // OK pressed from the keyboard
        QCOMPARE(reports, 1);
        QVERIFY(!d->isVisible());
    }

    void englishDialogCannotBeClosed() {
        int reports = 0;
        const auto d = Shown(false, &reports);
        QVERIFY(!d->close());
        QVERIFY(d->isVisible());
        QCOMPARE(reports, 0);
    }

    void swedishCloseButtonHidesAndKeepsTheTexts() {
        int reports = 0;
        const auto d = Shown(true, &reports);
        QTest::keyClicks(d->Edit2, "Villa");
        QVERIFY(d->close());
        QVERIFY(!d->isVisible());
        QCOMPARE(reports, 0);
        d->show();
        QCOMPARE(d->Project(), QStringLiteral("Villa"));
    }

    void okHidesThenReturnsAfterTheReport() {
        TForm7 d;
        d.show();
        QStringList steps;
        d.SetReportAction([&] {
            steps << (d.isVisible() ? "report while shown" : "report while hidden");
        });
        d.Button1Click();
        steps << "returned";
        QCOMPARE(steps, QStringList({"report while hidden", "returned"}));
        // A failing report reaches the error sink when the user presses OK.
        QString reported;
        d.SetReportAction([] { throw std::runtime_error("'abc' is not a valid floating point value"); });
        const TErrorHandler previous = SetErrorHandler([&](const QString& message) { reported = message; });
        d.show();
        QTest::mouseClick(d.Button1, Qt::LeftButton);
        QCOMPARE(reported, QStringLiteral("'abc' is not a valid floating point value"));
    }

    void contactLinesAsTheBoxShowsThem() {
        int reports = 0;
        const auto d = Shown(false, &reports);
        d->Memo1->setPlainText(QStringLiteral("Byggfysik AB\nLund\n"));
        QCOMPARE(d->ContactLines(), QStringList({"Byggfysik AB", "Lund"}));
        d->Memo1->setPlainText(QString());
        QCOMPARE(d->ContactLines(), QStringList());
        d->Memo1->setPlainText(QStringLiteral("first\n\nthird"));
        QCOMPARE(d->ContactLines(), QStringList({"first", "", "third"}));
        // A line wider than the box comes as the lines the box wraps it into.
        const QString longLine = QStringLiteral(
            "Byggfysik AB, Storgatan 1, 123 45 Lund, telephone 046-123456, anna@example.se");
        d->Memo1->setPlainText(longLine);
        const QStringList lines = d->ContactLines();
        QVERIFY2(lines.size() >= 2, qPrintable(lines.join('|')));
        QCOMPARE(lines.join(QString()), longLine);
        const QFontMetrics metrics(d->Memo1->font());
        for (const QString& line : lines)
            QVERIFY(metrics.horizontalAdvance(line.trimmed()) <= d->Memo1->viewport()->width());
    }
};

QTEST_MAIN(DetailsDialogTest)
#include "details_dialog_test.moc"
