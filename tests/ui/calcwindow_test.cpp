// The calculation windows driven as a user drives them: typing, ticking, picking,
// Calculate, and what the result boxes and message boxes then show.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "data/TErrorGuard.h"
#include "data/TTable.h"
#include "data/TTableSet.h"
#include "support/ViloTestSupport.h"
#include "ui/TDBLookupComboBox.h"
#include "ui/TErrorBox.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"

using namespace ViloTest;

namespace {

const QLocale CommaLocale(QLocale::Swedish, QLocale::Sweden);
const QLocale PointLocale(QLocale::English, QLocale::UnitedKingdom);

// Both languages' windows over a private copy of the default tables.
struct TWindows {
    TTestHome Home;
    std::unique_ptr<TFormEng> Eng = std::make_unique<TFormEng>();
    std::unique_ptr<TForm3> Sve = std::make_unique<TForm3>();
    std::unique_ptr<TForm4> Form4 = std::make_unique<TForm4>();
    std::unique_ptr<TForm5> Form5 = std::make_unique<TForm5>();
    TWindows()
    {
        Eng->BindTables(Form5->Tables());
        Sve->BindTables(Form4->Tables());
    }
    TCalcWindow* Window(bool swedish) const
    {
        return swedish ? static_cast<TCalcWindow*>(Sve.get()) : static_cast<TCalcWindow*>(Eng.get());
    }
};

// Writes cells 1.. of the current row, numbers written with the locale's separator.
void SetCurrentRow(TTable* table, const QStringList& cells)
{
    const QString separator = QLocale().decimalPoint();
    for (int i = 0; i < cells.size(); ++i)
        table->SetFieldText(i + 1, QString(cells[i]).replace(QLatin1Char('.'), separator));
    table->Post();
}

// The made-up reference rows of the worked examples, in the first row of every table.
void UseExampleRows(TTableSet* tables)
{
    SetCurrentRow(tables->Table(1), {"7", "6.5", "80", "11"});
    SetCurrentRow(tables->Table(2), {"1.7", "0.000001"});
    SetCurrentRow(tables->Table(3), {"0.036", "0.000005"});
    SetCurrentRow(tables->Table(4), {"2"});
    SetCurrentRow(tables->Table(5), {"500000", "0.1"});
}

void Type(QLineEdit* box, const QString& text)
{
    box->selectAll();
    QTest::keyClicks(box, text);
    QCOMPARE(box->text(), text);
}

QStringList ResultTexts(const TCalcWindow* w)
{
    QStringList texts;
    for (const QLineEdit* box : {w->Edit6, w->Edit7, w->Edit8, w->Edit9, w->Edit10, w->Edit11, w->Edit12,
                                 w->Edit13, w->Edit14, w->Edit15})
        texts << box->text();
    return texts;
}

}  // namespace

class CalcWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        UseProgramFont();
        SetErrorHandler([](const QString& message) { ShowErrorBox(message); });
    }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void workedExampleLandsInItsBoxes_data()
    {
        QTest::addColumn<bool>("swedish");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("thickness");
        QTest::addColumn<QString>("groundTempBox");
        QTest::addColumn<QString>("groundVapourBox");
        QTest::newRow("English, full stop") << false << PointLocale << "0.1" << "Edit9" << "Edit10";
        QTest::newRow("Swedish, comma, crossed boxes") << true << CommaLocale << ",1" << "Edit10" << "Edit9";
    }
    void workedExampleLandsInItsBoxes()
    {
        QFETCH(bool, swedish);
        QFETCH(QLocale, locale);
        QFETCH(QString, thickness);
        QLocale::setDefault(locale);
        TWindows windows;
        TCalcWindow* w = windows.Window(swedish);
        UseExampleRows(w->Tables());
        Type(w->Edit4, thickness);
        Type(w->Edit5, thickness);
        QTest::mouseClick(w->CheckBox1, Qt::LeftButton);
        TBoxAnswerer boxes;
        QTest::mouseClick(w->Button1, Qt::LeftButton);
        QCOMPARE(boxes.TakeTexts(), QStringList());

        // Length 15 with a floor structure and no barrier.
        auto box = [&](const char* name) { return w->findChild<QLineEdit*>(QLatin1String(name))->text(); };
        QCOMPARE(box("Edit6"), QString("3.0666"));
        QCOMPARE(box("Edit7"), QString("6.1332"));
        QCOMPARE(box("Edit8"), QString("0.4189"));
        QFETCH(QString, groundTempBox);
        QFETCH(QString, groundVapourBox);
        QCOMPARE(box(qPrintable(groundTempBox)), QString("12.4456"));
        QCOMPARE(box(qPrintable(groundVapourBox)), QString("10.9606"));
        QCOMPARE(box("Edit11"), QString("19.4334"));
        QCOMPARE(box("Edit12"), QString("11.3554"));
        QCOMPARE(box("Edit13"), QString("64.8001"));
        QCOMPARE(box("Edit14"), QString("67.6842"));
        QCOMPARE(box("Edit15"), QString("7.5544"));
    }

    void defaultsDependOnTheDecimalSeparator()
    {
        TWindows windows;
        for (bool swedish : {false, true}) {
            TCalcWindow* w = windows.Window(swedish);
            TBoxAnswerer boxes;
            // Full stop: ",1" is no number; the error comes before any range message.
            QLocale::setDefault(PointLocale);
            w->Button1Click();
            const QList<TBoxSeen> seen = boxes.Take();
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].Text, QString("',1' is not a valid floating point value."));
            QCOMPARE(seen[0].Title, QString("Vilo"));
            QCOMPARE(seen[0].Icon, QMessageBox::Critical);
            QCOMPARE(ResultTexts(w), QStringList(10, QString()));
            // Comma: the defaults compute with the first rows, no message, full stops in the results.
            QLocale::setDefault(CommaLocale);
            w->Button1Click();
            QCOMPARE(boxes.TakeTexts(), QStringList());
            QVERIFY(!w->Edit6->text().isEmpty());
            QVERIFY(w->Edit6->text().contains(QLatin1Char('.')));
            QCOMPARE(w->Edit14->text(), QString());  // no floor structure: not written
        }
    }

    void numberTexts_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("spaces around") << "Edit3" << "  12  " << "";
        QTest::newRow("other separator") << "Edit3" << "1.5" << "'1.5' is not a valid floating point value.";
        QTest::newRow("empty") << "Edit1" << "" << "'' is not a valid floating point value.";
        QTest::newRow("spaces kept in the message") << "Edit16" << " 4 x " << "' 4 x ' is not a valid floating point value.";
        QTest::newRow("beyond float") << "Edit1" << "1e39" << "Floating point overflow.";
    }
    void numberTexts()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, error);
        QLocale::setDefault(CommaLocale);
        TWindows windows;
        TCalcWindow* w = windows.Window(false);
        w->findChild<QLineEdit*>(box)->setText(text);
        TBoxAnswerer boxes;
        w->Button1Click();
        QCOMPARE(boxes.TakeTexts(), error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(w->Edit6->text().isEmpty(), !error.isEmpty());
    }

    void rangeWarningsThenResults_data()
    {
        QTest::addColumn<bool>("swedish");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("concrete");
        QTest::addColumn<QString>("insulation");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("written");
        QTest::newRow("limits pass") << false << "5" << "5" << "0,1" << "0" << QStringList() << true;
        QTest::newRow("narrow and wider than long")
            << false << "4" << "3" << "0,1" << "0,1"
            << QStringList{"The slab must be at least 5 m wide", "The width is larger than the length"} << true;
        QTest::newRow("no concrete") << false << "10" << "15" << "0" << "0,1"
                                     << QStringList{"You must have concrete!"} << true;
        QTest::newRow("Swedish texts")
            << true << "4" << "3" << "0" << "-0,1"
            << QStringList{QString::fromUtf8("Byggnaden måste har en bredd på minst 5 m"),
                           QString::fromUtf8("Byggnadens bredd är storre an byggnadens längd."),
                           QString::fromUtf8("Det måste finnas betong!"),
                           QString::fromUtf8("Du kan inte har mindre an 0 cm isolering!"),
                           "Invalid floating point operation."}
            << false;
        QTest::newRow("negative insulation then the arithmetic error")
            << false << "10" << "15" << "0,1" << "-1"
            << QStringList{"You can not have less than 0 cm insulation.", "Invalid floating point operation."}
            << false;
        QTest::newRow("zero width then division by zero")
            << false << "0" << "15" << "0,1" << "0,1"
            << QStringList{"The slab must be at least 5 m wide", "Floating point division by zero."} << false;
    }
    void rangeWarningsThenResults()
    {
        QFETCH(bool, swedish);
        QFETCH(QStringList, messages);
        QFETCH(bool, written);
        QLocale::setDefault(CommaLocale);
        TWindows windows;
        TCalcWindow* w = windows.Window(swedish);
        QFETCH(QString, width);
        QFETCH(QString, length);
        QFETCH(QString, concrete);
        QFETCH(QString, insulation);
        w->Edit2->setText(width);
        w->Edit3->setText(length);
        w->Edit5->setText(concrete);
        w->Edit4->setText(insulation);
        w->Edit6->setText(QStringLiteral("typed by the user"));
        TBoxAnswerer boxes;
        w->Button1Click();
        const QList<TBoxSeen> seen = boxes.Take();
        QStringList texts;
        for (const TBoxSeen& box : seen) {
            texts << box.Text;
            if (box.Icon == QMessageBox::NoIcon)
                QCOMPARE(box.Title, swedish ? QString::fromUtf8("Värdet är utanfor dataområdet.")
                                            : QString("Value outside of range."));
        }
        QCOMPARE(texts, messages);
        QCOMPARE(w->Edit6->text() != QStringLiteral("typed by the user"), written);
    }

    void tableCellsAreReadInOrder()
    {
        QLocale::setDefault(CommaLocale);
        TWindows windows;
        TCalcWindow* w = windows.Window(false);
        TTableSet* tables = w->Tables();
        TBoxAnswerer boxes;

        // City column 3 is never used but must still be a number.
        tables->Table(1)->SetFieldText(3, QString());
        w->Button1Click();
        QCOMPARE(boxes.TakeTexts(), QStringList{"'' is not a valid floating point value."});
        tables->Table(1)->Cancel();

        // Floor column 1 counts without a floor structure, column 2 only with one,
        // and then after the range messages.
        tables->Table(5)->SetFieldText(2, QString());
        tables->Table(5)->Post();
        w->Edit2->setText(QStringLiteral("4"));
        w->Button1Click();
        QCOMPARE(boxes.TakeTexts(), QStringList{"The slab must be at least 5 m wide"});
        w->CheckBox1->setChecked(true);
        w->Edit6->clear();
        w->Button1Click();
        QCOMPARE(boxes.TakeTexts(),
                 (QStringList{"The slab must be at least 5 m wide", "'' is not a valid floating point value."}));
        QCOMPARE(w->Edit6->text(), QString());
    }

    void floorStructureControls()
    {
        QLocale::setDefault(CommaLocale);
        TWindows windows;
        for (bool swedish : {false, true}) {
            TCalcWindow* w = windows.Window(swedish);
            w->Tables()->Table(5)->MoveTo(1);  // a floor with a heat resistance
            w->show();
            QVERIFY(!w->Edit14->isVisible());
            QVERIFY(!w->CheckBox2->isVisible());
            QTest::mouseClick(w->CheckBox1, Qt::LeftButton);
            QVERIFY(w->Edit14->isVisible() && w->CheckBox2->isVisible() && w->DBLookupComboBox1->isVisible());
            QVERIFY(w->Label6->isVisible() && w->Label28->isVisible() && w->Label29->isVisible());
            QCOMPARE(w->Label30 != nullptr, !swedish);
            QTest::mouseClick(w->CheckBox2, Qt::LeftButton);
            TBoxAnswerer boxes;
            w->Button1Click();
            const QString july = w->Edit14->text();
            QVERIFY(!july.isEmpty());

            // Unticked: the July box and the barrier hide with their contents kept.
            QTest::mouseClick(w->CheckBox1, Qt::LeftButton);
            QVERIFY(!w->Edit14->isVisible() && !w->CheckBox2->isVisible());
            QVERIFY(w->CheckBox2->isChecked());
            const QString withFloor = w->Edit6->text();
            w->Button1Click();
            QCOMPARE(w->Edit14->text(), july);
            QVERIFY(w->Edit6->text() != withFloor);  // the floor's heat resistance is gone
            QTest::mouseClick(w->CheckBox1, Qt::LeftButton);
            QVERIFY(w->Edit14->isVisible() && w->CheckBox2->isChecked());
            QCOMPARE(w->Edit14->text(), july);
            QCOMPARE(boxes.TakeTexts(), QStringList());
            w->hide();
        }
    }

    void enterPressesCalculateOnlyInTheSwedishWindow()
    {
        QLocale::setDefault(CommaLocale);
        TWindows windows;
        for (bool swedish : {false, true}) {
            TCalcWindow* w = windows.Window(swedish);
            w->show();
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
            w->Edit1->setFocus();
            QTest::keyClick(w->Edit1, Qt::Key_Return);
            QCOMPARE(w->Edit6->text().isEmpty(), !swedish);
            w->Edit6->clear();
            w->Button2->setFocus();
            QTest::keyClick(w->Button2, Qt::Key_Return);
            QVERIFY(w->Edit6->text().isEmpty());
            w->CheckBox1->setFocus();
            QTest::keyClick(w->CheckBox1, Qt::Key_Return);
            QVERIFY(w->Edit6->text().isEmpty());
            w->hide();
        }
    }

    void tabOrderAndAccessibleNames()
    {
        TWindows windows;
        for (bool swedish : {false, true}) {
            TCalcWindow* w = windows.Window(swedish);
            w->CheckBox1->setChecked(true);
            w->show();
            QStringList order;
            QWidget* start = w->CityLookupComboBox;
            QWidget* next = start;
            do {
                if (next->isVisible() && next->focusPolicy() & Qt::TabFocus)
                    order << next->objectName();
                next = next->nextInFocusChain();
            } while (next != start && order.size() < 60);
            QStringList expected = {"CityLookupComboBox", "Edit1", "Edit3", "Edit2", "Edit4", "Edit5", "CheckBox1",
                                    "DBLookupComboBox1", "CheckBox2", "DBLookupComboBox2", "DBLookupComboBox3",
                                    "DBLookupComboBox4", "Button1", "Button2", "Button3", "Edit6", "Edit7", "Edit8",
                                    "Edit9"};
            const QStringList frame = {"Edit10", "Edit11", "Edit12", "Edit13", "Edit14", "Edit15"};
            expected << (swedish ? QStringList{"Button4"} + frame : frame + QStringList{"Button4"});
            expected << "Edit16" << "Button5";
            QCOMPARE(order, expected);

            QCOMPARE(w->Edit1->accessibleName(),
                     swedish ? QString::fromUtf8("Inomhustemperatur (°C)") : QString::fromUtf8("Indoor Temperature (°C)"));
            QCOMPARE(w->CityLookupComboBox->accessibleName(), swedish ? QString("Stad") : QString("City"));
            if (!swedish)
                QCOMPARE(w->Edit14->accessibleName(),
                         QString("RH under the floor assembly during July in the selected City:"));
            QCOMPARE(w->Edit15->accessibleName(), QString("Delta T"));
            QCOMPARE(w->Button1->accessibleName(), swedish ? QString::fromUtf8("Beräkna") : QString("Calculate"));
            w->hide();
        }
    }

    void windowsKeepTheirOwnInputs()
    {
        TWindows windows;
        windows.Eng->Edit1->setText(QStringLiteral("18"));
        QCOMPARE(windows.Sve->Edit1->text(), QString("20"));
        QCOMPARE(windows.Eng->Edit5->text(), QString(",1"));
        QCOMPARE(windows.Eng->windowTitle(), QString("Vilo Eng"));
        QCOMPARE(windows.Sve->windowTitle(), QString("Vilo Sve"));
        QCOMPARE(windows.Eng->size(), QSize(514, 528));
        QCOMPARE(windows.Sve->size(), QSize(513, 483));
        // The Swedish window puts the insulation row above the concrete row.
        QVERIFY(windows.Sve->Edit4->y() < windows.Sve->Edit5->y());
        QVERIFY(windows.Eng->Edit5->y() < windows.Eng->Edit4->y());
    }
};

QTEST_MAIN(CalcWindowTest)
#include "calcwindow_test.moc"
