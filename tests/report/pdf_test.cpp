// End to end: fill, preview, save as PDF, and read the PDF back with pdftotext -bbox.
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "ReportTestKit.h"
#include "report/Unit6.h"
#include "report/Unit8.h"

namespace {

struct Word {
    QString Text;
    double LeftMm;
    double TopMm;
};

constexpr double MmPerPt = 25.4 / 72.0;

// The words of every page of the PDF with their top-left corners on the paper.
QList<QList<Word>> ReadWords(const QString& pdf) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) return {};
    const QString html = QString::fromUtf8(tool.readAllStandardOutput());
    QList<QList<Word>> pages;
    static const QRegularExpression tag(
        QString::fromLatin1(R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            pages.append(QList<Word>());
            continue;
        }
        pages.last().append({m.captured(3).replace(QStringLiteral("&amp;"), QStringLiteral("&")),
                             m.captured(1).toDouble() * MmPerPt, m.captured(2).toDouble() * MmPerPt});
    }
    return pages;
}

QString Joined(const QList<Word>& words) {
    QStringList texts;
    for (const Word& w : words) texts << w.Text;
    return texts.join(' ');
}

}  // namespace

class PdfTest : public QObject {
    Q_OBJECT
    QTemporaryDir FDir;

    QList<QList<Word>> ReportAsPdf(TReportForm& form, const TReportInput& input) {
        form.SetInputSource([input] { return input; });
        form.SetTableSource(SampleTables);
        const QString file = FDir.filePath(form.objectName() + QStringLiteral(".pdf"));
        TPreviewDriver driver;
        driver.Run(form, [&](TPrintPreview& p) { p.SaveAsPdf(file); });
        return ReadWords(file);
    }

private slots:
    void initTestCase() {
        QVERIFY(FDir.isValid());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    }

    void englishPageWithFloorStructure() {
        TForm6 form;
        const auto pages = ReportAsPdf(form, SampleInput(true));
        QCOMPARE(pages.size(), 1);
        const QString text = Joined(pages[0]);
        for (const char* expected :
             {"Vilo Ver. 20070627", "Name: Anna Lindqvist", "Project: Slab on ground, house 4",
              "Contact Info: Byggfysik AB", "Storgatan 1, Lund", "046-123456", "Results",
              "Floor Construction", "Thickness (m)", "Thermal Conductivity", "Permiability",
              "5:Floor construction", "(R-value)", "(Moisture resistance)", "2:Concrete", "0.1",
              "3:Insulation", "4:Soil", "1:City", "Resistance (total): 3.0666 m^2K/W",
              "d (equivelent thickness): 6.1416 m", "Delta T 7.9029 °C",
              "RH above concrete/under floor in July: 77.1834 %"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);

        // Named elements at their places: paper margin + band top + element offset.
        struct Place {
            const char* element;
            const char* word;
            double leftMm;
            double topMm;
        };
        const Place places[] = {
            {"QRLabel2", "Vilo", 10 + 10.6, 10 + 2.1},
            {"QRLabel1", "Name:", 10 + 10.6, 20.6 + 2.1},
            {"QRLabel12", "Results", 10 + 10.6, 67.9 + 2.1},
            {"QRLabel44", "Permiability", 10 + 148.2, 67.9 + 14.8},
            {"QRDBText1", "1:City", 10 + 23.3, 67.9 + 78.3},
            {"QRLabel13", "Resistance", 10 + 44.5, 67.9 + 141.8},
            {"QRLabel23", "3.0666", 10 + 120.7, 67.9 + 141.8},
            {"QRLabel42", "%", 10 + 143.9, 67.9 + 141.8 + 9 * 6.35},
        };
        for (const Place& p : places) {
            const Word* found = nullptr;
            for (const Word& w : pages[0])
                if (w.Text == QString::fromUtf8(p.word) && (!found || w.TopMm > found->TopMm))
                    found = &w;  // the lowest one: "%" also ends row 8
            QVERIFY2(found, p.element);
            QVERIFY2(qAbs(found->LeftMm - p.leftMm) <= 0.5,
                     qPrintable(QStringLiteral("%1 left %2").arg(p.element).arg(found->LeftMm)));
            QVERIFY2(qAbs(found->TopMm - p.topMm) <= 0.5,
                     qPrintable(QStringLiteral("%1 top %2").arg(p.element).arg(found->TopMm)));
        }
    }

    void sketchKeepsItsExactColours() {
        TForm6 form;
        ReportAsPdf(form, SampleInput(true));  // bands of 6, 58 and 58 rows
        const QString pdf = FDir.filePath(form.objectName() + QStringLiteral(".pdf"));
        const QString png = FDir.filePath(QStringLiteral("page"));
        QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                                   {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("150"),
                                    QStringLiteral("-singlefile"), pdf, png}),
                 0);
        const QImage page(png + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        // Centre of sketch pixel (x, y) on the paper: the picture fills 44.7 x 32.0 mm.
        const auto at = [&](double x, double y) {
            const double dotsPerMm = 150 / 25.4;
            return page.pixel(qRound((10 + 44.5 + (x + 0.5) * 44.7 / 169) * dotsPerMm),
                              qRound((67.9 + 86.8 + (y + 0.5) * 32.0 / 121) * dotsPerMm)) & 0xffffff;
        };
        QCOMPARE(at(80, 30), qRgb(128, 128, 128) & 0xffffff);
        QCOMPARE(at(20, 90), qRgb(0, 0, 255) & 0xffffff);
        QCOMPARE(at(150, 100), qRgb(0, 0, 255) & 0xffffff);
    }

    void floorDependentElementsAbsentWhenNotTicked() {
        TForm6 form;
        const QString text = Joined(ReportAsPdf(form, SampleInput(false)).value(0));
        QVERIFY(text.contains(QStringLiteral("RH above concrete/under the floor: 64.2840 %")));
        QVERIFY(text.contains(QStringLiteral("2:Concrete")));
        for (const char* absent : {"5:Floor", "(R-value)", "(Moisture", "July", "77.1834"})
            QVERIFY2(!text.contains(QString::fromUtf8(absent)), absent);
    }

    void swedishPage() {
        TForm8 form;
        const QString text = Joined(ReportAsPdf(form, SampleInput(true)).value(0));
        for (const char* expected :
             {"Nam: Anna Lindqvist", "Kontakt: Byggfysik AB", "Resultat", "Golv Konstruktion",
              "Värmeledningsförmåga", "Ångpermeabilitet", "(Värmemotstånd)", "(Ånggenomgångmotstånd)",
              "5:Golv", "1:Stad",
              "Temperatur, isoleringens undersida: 12.1062 °C",
              "Ånghalten i marken: 10.7316 g/m^3", "RF, underkant av golvtäckning i juli: 77.1834 %"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    }
};

QTEST_MAIN(PdfTest)
#include "pdf_test.moc"
