// End to end: fill, preview, save as PDF, and read the PDF back with pdftotext -bbox.
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <initializer_list>
#include <utility>

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

// The first word of that text, or null.
const Word* Find(const QList<Word>& words, const QString& text) {
    for (const Word& w : words)
        if (w.Text == text) return &w;
    return nullptr;
}

// Runs a tool on the file; its standard error, or why it failed.
QString ToolComplaint(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(30000)) return program + QStringLiteral(" did not finish");
    const QString errors = QString::fromUtf8(tool.readAllStandardError());
    if (tool.exitCode() != 0)
        return QStringLiteral("%1 exit %2: %3%4").arg(program).arg(tool.exitCode()).arg(errors,
                                                      QString::fromUtf8(tool.readAllStandardOutput()));
    return errors;
}

}  // namespace

class PdfTest : public QObject {
    Q_OBJECT
    QTemporaryDir FDir;

    QString FileOf(const TReportForm& form) const {
        return FDir.filePath(form.objectName() + QStringLiteral(".pdf"));
    }

    // The structure checker and the readers take the file without a word of complaint.
    void ExpectSound(const QString& pdf) {
        const QString probe = FDir.filePath(QStringLiteral("probe"));
        for (const auto& [program, arguments] : std::initializer_list<std::pair<QString, QStringList>>{
                 {"qpdf", {"--check", pdf}},
                 {"pdfinfo", {pdf}},
                 {"pdftotext", {pdf, probe + ".txt"}},
                 {"pdftoppm", {"-r", "30", "-png", pdf, probe}}}) {
            const QString complaint = ToolComplaint(program, arguments);
            QVERIFY2(complaint.isEmpty(), qPrintable(complaint));
        }
    }

    static bool OwnWriter(const QString& pdf) {
        QFile file(pdf);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("/WinAnsiEncoding");
    }

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

    // Texts the report's own writer cannot set go to QPdfWriter whole, and read back alike;
    // the characters that delimit PDF strings are written escaped.
    void textsReadBackAtTheirPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("project");
        QTest::addColumn<bool>("ownWriter");
        QTest::newRow("string delimiters") << "Anna (B) \\ Lind" << "Hall ) wing \\( 2 (" << true;
        QTest::newRow("code page's own extra letters") << "Œuvre Šibenik – Ž" << "€ 100 • 2 ™" << true;
        QTest::newRow("Polish name") << "Łukasz Żółkiewski" << "Slab" << false;
        QTest::newRow("Greek name") << "Νίκος Παπαδόπουλος" << "Slab" << false;
    }
    void textsReadBackAtTheirPlaces() {
        QFETCH(QString, name);
        QFETCH(QString, project);
        QFETCH(bool, ownWriter);
        TForm6 form;
        TReportInput input = SampleInput(true);
        input.Name = name;
        input.Project = project;
        const auto pages = ReportAsPdf(form, input);
        QCOMPARE(pages.size(), 1);
        const QString text = Joined(pages[0]);
        QVERIFY2(text.contains(QStringLiteral("Name: ") + name), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Project: ") + project), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Resistance (total): 3.0666 m^2K/W")));
        const Word* first = Find(pages[0], name.section(' ', 0, 0));
        QVERIFY(first);
        QVERIFY2(qAbs(first->LeftMm - (10 + 40.2)) <= 0.5, qPrintable(QString::number(first->LeftMm)));
        QVERIFY2(qAbs(first->TopMm - (20.6 + 2.1)) <= 0.5, qPrintable(QString::number(first->TopMm)));
        QCOMPARE(OwnWriter(FileOf(form)), ownWriter);
        ExpectSound(FileOf(form));
    }

    void longContactTextOnTwoPages() {
        TForm6 form;
        TReportInput input = SampleInput(true);
        for (int i = 0; i < 70; ++i) input.ContactLines << QStringLiteral("line %1").arg(i);
        const auto pages = ReportAsPdf(form, input);
        QCOMPARE(pages.size(), 2);
        QVERIFY(OwnWriter(FileOf(form)));
        ExpectSound(FileOf(form));
        const TReportRenderer laidOut = [&] {
            form.Fill();
            return TReportRenderer(form.Prepared());
        }();
        QCOMPARE(laidOut.SheetCount(), 2);
        const auto& second = laidOut.Sheet(1);
        const auto memo = std::find_if(second.begin(), second.end(),
                                       [](const TPlacedElement& p) { return p.Element->Name == "QRMemo1"; });
        QVERIFY(memo != second.end());
        // Every line once, on the page the layout gave it; the continuation at its place.
        for (int i = 0; i < 70; ++i) {
            const QString line = QStringLiteral(" line %1 ").arg(i);
            const int page = memo->Lines.contains(line.trimmed()) ? 1 : 0;
            QVERIFY2((' ' + Joined(pages[page]) + ' ').contains(line), qPrintable(line));
            QVERIFY2(!(' ' + Joined(pages[1 - page]) + ' ').contains(line), qPrintable(line));
        }
        const Word* continued = nullptr;
        for (const Word& w : pages[1])
            if (w.Text == QStringLiteral("line") && (!continued || w.TopMm < continued->TopMm)) continued = &w;
        QVERIFY(continued);
        QVERIFY(qAbs(continued->LeftMm - (10 + memo->LeftMm)) <= 0.5);
        QVERIFY(qAbs(continued->TopMm - (10 + memo->TopMm)) <= 0.5);
        for (const auto& page : pages) QVERIFY(Find(page, QStringLiteral("Vilo")));
        QVERIFY(Joined(pages[1]).contains(QStringLiteral("RH above concrete/under floor in July: 77.1834 %")));
    }

    // Outlines and the memo's rule at their places with their widths: a dark run across
    // the line, scanned on the page rendered at 600 dpi.
    void linesAtTheirPlaces_data() {
        QTest::addColumn<bool>("across");  // scan along x, else along y
        QTest::addColumn<double>("atMm");  // where the scan line is on the other axis
        QTest::addColumn<double>("fromMm");
        QTest::addColumn<double>("toMm");
        QTest::addColumn<double>("darkFromMm");
        QTest::addColumn<double>("darkToMm");
        const double rule = 20.6 + 21.2 + 3 * TReportRenderer::LineHeightMm(10) + 0.6;
        QTest::newRow("header frame, left outline inside its edge") << true << 15.0 << 5.0 << 14.0 << 10.0 << 10.3;
        QTest::newRow("header frame, top outline") << false << 100.0 << 5.0 << 14.0 << 10.0 << 10.3;
        QTest::newRow("header and title frames, outlines overlapping") << false << 100.0 << 20.0 << 22.0 << 20.5 << 20.9;
        QTest::newRow("memo rule, width") << false << 150.0 << rule - 1 << rule + 1 << rule - 0.1 << rule + 0.1;
        QTest::newRow("memo rule, flat end") << true << rule << 190.0 << 198.0 << 190.0 << 10 + 40.2 + 146.4;
    }
    void linesAtTheirPlaces() {
        QFETCH(bool, across);
        QFETCH(double, atMm);
        QFETCH(double, fromMm);
        QFETCH(double, toMm);
        QFETCH(double, darkFromMm);
        QFETCH(double, darkToMm);
        TForm6 form;
        ReportAsPdf(form, SampleInput(true));
        QVERIFY(OwnWriter(FileOf(form)));
        constexpr double dotsPerMm = 600 / 25.4;
        const int at = qRound(atMm * dotsPerMm);
        const int from = qRound(fromMm * dotsPerMm);
        const int length = qRound((toMm - fromMm) * dotsPerMm);
        const QString png = FDir.filePath(QStringLiteral("strip"));
        QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                                   {"-gray", "-png", "-r", "600", "-singlefile",
                                    "-x", QString::number(across ? from : at), "-y", QString::number(across ? at : from),
                                    "-W", QString::number(across ? length : 1), "-H", QString::number(across ? 1 : length),
                                    FileOf(form), png}),
                 0);
        const QImage strip(png + QStringLiteral(".png"));
        QVERIFY(!strip.isNull());
        int first = -1, last = -1;
        for (int i = 0; i < length; ++i)
            if (qGray(across ? strip.pixel(i, 0) : strip.pixel(0, i)) < 128) {
                if (first < 0) first = i;
                last = i;
            }
        QVERIFY(first >= 0);
        const double startMm = fromMm + first / dotsPerMm;
        const double endMm = fromMm + (last + 1) / dotsPerMm;
        QVERIFY2(qAbs(startMm - darkFromMm) <= 0.05 && qAbs(endMm - darkToMm) <= 0.05,
                 qPrintable(QStringLiteral("dark from %1 to %2 mm").arg(startMm).arg(endMm)));
    }
};

QTEST_MAIN(PdfTest)
#include "pdf_test.moc"
