// Makes the README's screenshots: starts the program over a private table home, drives
// its windows as a user does and saves a picture of each. Needs a display (scripts/screenshots
// runs it under xvfb-run). Usage: vilo_screenshots OUTPUT_DIR
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "app/TViloApplication.h"
#include "data/TErrorGuard.h"
#include "report/TPrintPreview.h"
#include "report/TReportRenderer.h"
#include "ui/TCalcWindow.h"
#include "ui/TDBLookupComboBox.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit5.h"
#include "ui/Unit7.h"

namespace {

constexpr double ReportDpi = 150;

QStringList gProblems;

void Problem(const QString& text)
{
    gProblems << text;
    std::fprintf(stderr, "vilo_screenshots: %s\n", qPrintable(text));
}

// Waits until Window is on the screen and painted.
void Settle(QWidget* window)
{
    if (!QTest::qWaitForWindowExposed(window))
        Problem(QStringLiteral("%1 was never shown").arg(window->objectName()));
    QTest::qWait(300);
}

void Save(const QImage& image, const QDir& dir, const QString& name)
{
    if (!image.save(dir.filePath(name)))
        Problem(QStringLiteral("cannot write %1").arg(dir.filePath(name)));
    else
        std::printf("%s  %dx%d\n", qPrintable(dir.filePath(name)), image.width(), image.height());
}

void Shoot(QWidget* window, const QDir& dir, const QString& name)
{
    Settle(window);
    Save(window->grab().toImage(), dir, name);
}

void Click(QWidget* control)
{
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

// Ticks the floor structure when asked, picks the first row of every lookup box with
// the Down key (the rows the calculation reads anyway) and presses Calculate.
void CalculateWithDefaults(TCalcWindow* window, bool floorStructure)
{
    if (window->CheckBox1->isChecked() != floorStructure)
        Click(window->CheckBox1);
    for (TDBLookupComboBox* box : {window->CityLookupComboBox, window->DBLookupComboBox1, window->DBLookupComboBox2,
                                   window->DBLookupComboBox3, window->DBLookupComboBox4}) {
        if (!box->isVisible())
            continue;
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
    }
    Click(window->Button1);
    if (window->Edit6->text().isEmpty())
        Problem(QStringLiteral("%1 shows no result after Calculate").arg(window->objectName()));
}

// One A4 sheet as the renderer paints it on paper, at ReportDpi.
QImage RenderSheet(const TReportRenderer& report)
{
    const double dpm = ReportDpi / 25.4;
    QImage sheet(qRound(TReportPage::PaperWidthMm * dpm), qRound(TReportPage::PaperHeightMm * dpm),
                 QImage::Format_RGB32);
    sheet.setDotsPerMeterX(qRound(dpm * 1000));
    sheet.setDotsPerMeterY(qRound(dpm * 1000));
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    painter.translate(TReportPage::MarginMm * dpm, TReportPage::MarginMm * dpm);
    report.PaintSheet(painter, 0, dpm);
    return sheet;
}

void Run(TViloApplication& vilo, const QDir& out)
{
    vilo.ShowMainWindow();
    Shoot(vilo.FormLanguage, out, QStringLiteral("chooser.png"));

    Click(vilo.FormLanguage->Image1);
    Settle(vilo.FormEng);
    CalculateWithDefaults(vilo.FormEng, true);
    Shoot(vilo.FormEng, out, QStringLiteral("calc-en.png"));

    Click(vilo.FormEng->Button4);
    Settle(vilo.Form3);
    CalculateWithDefaults(vilo.Form3, false);
    Shoot(vilo.Form3, out, QStringLiteral("calc-sv.png"));

    Click(vilo.Form3->Button4);
    Click(vilo.FormEng->Button2);
    Shoot(vilo.Form5, out, QStringLiteral("editor.png"));
    Click(vilo.Form5->Button1);

    Click(vilo.FormEng->Button5);
    Settle(vilo.Form7);
    QTest::keyClicks(vilo.Form7->Edit1, QStringLiteral("A. Engineer"));
    QTest::keyClicks(vilo.Form7->Edit2, QStringLiteral("Terraced houses, block 3"));
    QTest::keyClicks(vilo.Form7->Memo1, QStringLiteral("Building Physics Ltd"));
    QTest::keyClick(vilo.Form7->Memo1, Qt::Key_Return);
    QTest::keyClicks(vilo.Form7->Memo1, QStringLiteral("Main Street 1, 123 45 Lund"));
    // OK returns only when the preview has closed: the picture is taken while it is open.
    bool shot = false;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        TPrintPreview* preview = TPrintPreview::OpenPreview();
        if (!preview || !preview->isVisible() || shot)
            return;
        shot = true;
        poll.stop();
        Settle(preview);
        Save(RenderSheet(preview->Report()), out, QStringLiteral("report.png"));
        preview->close();
    });
    poll.start();
    Click(vilo.Form7->Button1);
    if (!shot)
        Problem(QStringLiteral("the report preview never opened"));
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vilo_screenshots OUTPUT_DIR\n");
        return 2;
    }
    // The user's own settings and tables are never touched: the program gets a home of its own.
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "vilo_screenshots: no temporary directory\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());

    QApplication application(argc, argv);
    TViloApplication::Configure();
    // The default inputs are written with a decimal comma.
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "vilo_screenshots: cannot create %s\n", argv[1]);
        return 1;
    }

    // An error box would stop the run; every error is reported instead.
    SetErrorHandler([](const QString& message) { Problem(QStringLiteral("error box: ") + message); });
    TViloApplication vilo;
    try {
        vilo.CreateForms();
    } catch (...) {
        Problem(QStringLiteral("start-up failed: ") + CurrentExceptionMessage());
        return 1;
    }
    Run(vilo, out);
    return gProblems.isEmpty() ? 0 : 1;
}
