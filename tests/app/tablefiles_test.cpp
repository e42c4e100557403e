// The whole program started over table files as users find them: damaged, locked by
// another program, read-only, with other column names or too few columns. Whatever
// the outcome, every file in the table directory keeps its bytes and nothing is left
// beside them.
#include <QApplication>
#include <QCryptographicHash>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMap>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QCheckBox>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/TViloApplication.h"
#include "report/TPrintPreview.h"
#include "report/TReportRenderer.h"
#include "report/Unit6.h"
#include "report/Unit8.h"
#include "support/ViloTestSupport.h"
#include "ui/EditorTestSupport.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"
#include "ui/Unit7.h"
#include "ui/Unit9.h"

using namespace ViloTest;

namespace {

// Every entry of Directory, hidden ones too, with a checksum of its bytes.
QMap<QString, QByteArray> Contents(const QString& directory)
{
    QMap<QString, QByteArray> contents;
    const QDir dir(directory);
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        QFile file(dir.filePath(name));
        contents.insert(name, file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                                             : QByteArray("unreadable"));
    }
    return contents;
}

void Overwrite(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Runs each statement on the file through a connection of its own; %1 stands for the
// file's table, %2 for its column at Position.
void Reshape(const QString& path, const QStringList& statements, int position = 0)
{
    TPlainConnection db(path);
    const QString table = db.TableName();
    const QString column = db.Rows(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)).value(position).value(1).toString();
    for (const QString& statement : statements)
        QVERIFY2(db.Exec(statement.arg(table, column)), qPrintable(db.LastError()));
}

// The program over a private table home, started as main() starts it up to its event loop.
struct TProgram {
    TTestHome Home;
    std::unique_ptr<TViloApplication> App;
    TProgram() { QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden)); }
    ~TProgram()
    {
        App.reset();
        QFile::setPermissions(Home.TablesDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QLocale::setDefault(QLocale::c());
    }
    void Start()
    {
        App = std::make_unique<TViloApplication>();
        App->CreateForms();
        App->InstallErrorBox();
        App->ShowMainWindow();
    }
    TCalcWindow* ChooseLanguage(bool swedish)
    {
        TFormLanguage* chooser = App->FormLanguage;
        QTest::mouseClick(swedish ? chooser->Image2 : chooser->Image1, Qt::LeftButton, {}, QPoint(28, 20));
        TCalcWindow* window = swedish ? static_cast<TCalcWindow*>(App->Form3) : App->FormEng;
        return window->isVisible() ? window : nullptr;
    }
};

QStringList ResultTexts(TCalcWindow* window)
{
    QStringList texts;
    for (const char* box : {"Edit6", "Edit7", "Edit8", "Edit9", "Edit10", "Edit11", "Edit12", "Edit13", "Edit14", "Edit15"})
        texts << window->findChild<QLineEdit*>(QLatin1String(box))->text();
    return texts;
}

// Presses OK of the details dialog and returns the page its preview shows.
TReportPage ReportPage(TDetailsDialog* dialog)
{
    TReportPage shown;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        TPrintPreview* preview = TPrintPreview::OpenPreview();
        if (!preview || !preview->isVisible())
            return;
        poll.stop();
        shown = preview->Report().Page();
        preview->close();
    });
    poll.start();
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    return shown;
}

// Records whether any window other than a message box was shown.
class TWindowWatch : public QObject {
public:
    TWindowWatch() { qApp->installEventFilter(this); }
    ~TWindowWatch() override { qApp->removeEventFilter(this); }
    QStringList Shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow() && !qobject_cast<QMessageBox*>(widget)) {
            Shown << widget->objectName();
            // Should the program start after all, its event loop ends instead of hanging the test.
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(2); });
        }
        return false;
    }
};

enum class TDamage { Missing, Empty, Truncated, RandomBytes, NoTable, OtherTables, Locked };

}  // namespace

class TableFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseProgramFont(); }

    void aFileThatCannotBeOpenedStopsTheStart_data()
    {
        QTest::addColumn<int>("damageNumber");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");  // %1 the file, %2 the directory
        const QString cannot = QStringLiteral("Cannot open table '%1' in the directory '%2': ");
        QTest::newRow("missing") << int(TDamage::Missing) << "SOIL.DB"
                                 << "Cannot open table '%1': there is no such file in the directory '%2'";
        QTest::newRow("zero length") << int(TDamage::Empty) << "CityEng.DB" << cannot + "the file holds no table.";
        QTest::newRow("first half") << int(TDamage::Truncated) << "City.db"
                                    << cannot + "the file is not a readable table (database disk image is malformed)";
        QTest::newRow("random bytes") << int(TDamage::RandomBytes) << "INSULATEng.DB"
                                      << cannot + "the file is not a readable table (file is not a database)";
        QTest::newRow("no table") << int(TDamage::NoTable) << "Floor.db" << cannot + "the file holds no table.";
        QTest::newRow("other tables only") << int(TDamage::OtherTables) << "ConcreteEng.DB"
                                           << cannot + "the file holds several tables and none is named 'ConcreteEng'";
        QTest::newRow("locked by another program") << int(TDamage::Locked) << "FloorEng.DB"
                                                   << cannot + "the file is locked by another program.";
    }
    void aFileThatCannotBeOpenedStopsTheStart()
    {
        QFETCH(int, damageNumber);
        QFETCH(QString, file);
        QFETCH(QString, text);
        const auto damage = TDamage(damageNumber);
        TTestHome home;
        const QString path = home.TablePath(file);
        switch (damage) {
        case TDamage::Missing:
            QVERIFY(QFile::remove(path));
            break;
        case TDamage::Empty:
            Overwrite(path, {});
            break;
        case TDamage::Truncated: {
            QFile real(path);
            QVERIFY(real.open(QIODevice::ReadOnly));
            const QByteArray bytes = real.readAll();
            real.close();
            Overwrite(path, bytes.left(bytes.size() / 2));
            break;
        }
        case TDamage::RandomBytes: {
            QByteArray bytes(int(QFileInfo(path).size()), '\0');
            QRandomGenerator random(7);
            for (char& byte : bytes)
                byte = char(random.generate());
            Overwrite(path, bytes);
            break;
        }
        case TDamage::NoTable:
            Reshape(path, {QStringLiteral("DROP TABLE \"%1\"")});
            break;
        case TDamage::OtherTables:
            Reshape(path, {QStringLiteral("ALTER TABLE \"%1\" RENAME TO Materials"), QStringLiteral("CREATE TABLE Notes (Line TEXT)")});
            break;
        case TDamage::Locked:
            break;
        }
        const QMap<QString, QByteArray> before = Contents(home.TablesDir());

        QProcess other;
        if (damage == TDamage::Locked) {
            other.start(QStringLiteral(VILO_TABLE_DRIVER), {});
            other.write(QStringLiteral("lock %1\n").arg(path).toUtf8());
            while (!other.canReadLine())
                QVERIFY(other.waitForReadyRead(30000));
            QCOMPARE(other.readLine(), QByteArray("ok locked\n"));
        }
        TBoxAnswerer boxes;
        int exitCode = 0;
        QStringList shown;
        {
            TWindowWatch watch;
            exitCode = TViloApplication::Run();
            shown = watch.Shown;
        }
        if (damage == TDamage::Locked) {
            other.write("unlock\nquit\n");
            QVERIFY(other.waitForFinished(30000));
        }

        QCOMPARE(exitCode, 1);
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join(u' ')));
        const QList<TBoxSeen> seen = boxes.Take();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].Title, QStringLiteral("Application Error"));
        QCOMPARE(seen[0].Icon, QMessageBox::Critical);
        QCOMPARE(seen[0].Text, text.arg(file, home.TablesDir()));
        QCOMPARE(Contents(home.TablesDir()), before);
    }

    void aFileItMayOnlyReadIsForBrowsing_data()
    {
        QTest::addColumn<bool>("directory");
        QTest::newRow("read-only file") << false;
        QTest::newRow("writable file in a read-only directory") << true;
    }
    void aFileItMayOnlyReadIsForBrowsing()
    {
        QFETCH(bool, directory);
        TProgram p;
        const QString path = p.Home.TablePath(QStringLiteral("CityEng.DB"));
        const QList<QStringList> stored = EditorTest::StoredRows(path);
        QVERIFY(QFile::setPermissions(directory ? p.Home.TablesDir() : path,
                                      directory ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner));
        const QMap<QString, QByteArray> before = Contents(p.Home.TablesDir());
        TBoxAnswerer boxes;
        p.Start();
        TCalcWindow* window = p.ChooseLanguage(false);
        QVERIFY(window);
        QTest::mouseClick(window->Button2, Qt::LeftButton);
        TForm5* editor = p.App->Form5;
        QVERIFY(EditorTest::ShowActive(editor));
        TDBGrid* grid = editor->Grid(1);
        TDBNavigator* navigator = editor->Navigator(1);

        // The grid shows the stored rows and the navigator moves through them ...
        QCOMPARE(grid->model()->rowCount(), stored.size());
        QCOMPARE(grid->model()->index(1, 0).data().toString(), stored[1][0]);
        QCOMPARE(EditorTest::EnabledButtons(navigator), QStringLiteral("0011000000"));
        EditorTest::Press(navigator, TDBNavigator::Next);
        EditorTest::Press(navigator, TDBNavigator::Next);
        QCOMPARE(grid->currentIndex().row(), 2);
        EditorTest::Press(navigator, TDBNavigator::Last);
        QCOMPARE(grid->currentIndex().row(), stored.size() - 1);
        EditorTest::Press(navigator, TDBNavigator::First);
        QCOMPARE(grid->currentIndex().row(), 0);

        // ... but no key opens a cell, starts a row or removes one.
        grid->setFocus();
        EditorTest::Type(grid, QStringLiteral("5"));
        EditorTest::Key(grid, Qt::Key_F2);
        EditorTest::Key(grid, Qt::Key_Insert);
        EditorTest::Key(grid, Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(!grid->Editing());
        QCOMPARE(grid->model()->rowCount(), stored.size());
        QVERIFY(boxes.Take().isEmpty());

        // The calculation reads the city as usual.
        QTest::mouseClick(editor->Button1, Qt::LeftButton);
        QTest::mouseClick(window->Button1, Qt::LeftButton);
        QVERIFY(!window->Edit9->text().isEmpty());
        p.App->EndProgram();
        QVERIFY(p.App->Ended());
        QVERIFY(boxes.Take().isEmpty());
        QCOMPARE(Contents(p.Home.TablesDir()), before);
    }

    void aChangeTheFileRefusesIsKeptPending()
    {
        // The directory turns read-only while the program runs: the journal cannot be made.
        TProgram p;
        const QString path = p.Home.TablePath(QStringLiteral("CityEng.DB"));
        TBoxAnswerer boxes;
        p.Start();
        TCalcWindow* window = p.ChooseLanguage(false);
        QTest::mouseClick(window->Button2, Qt::LeftButton);
        TForm5* editor = p.App->Form5;
        QVERIFY(EditorTest::ShowActive(editor));
        QVERIFY(QFile::setPermissions(p.Home.TablesDir(), QFile::ReadOwner | QFile::ExeOwner));
        const QMap<QString, QByteArray> before = Contents(p.Home.TablesDir());
        TDBGrid* grid = editor->Grid(1);
        grid->setFocus();
        EditorTest::Key(grid, Qt::Key_Right);
        EditorTest::Type(grid, QStringLiteral("-5"));
        EditorTest::Key(grid, Qt::Key_Tab);
        EditorTest::Press(editor->Navigator(1), TDBNavigator::Post);
        const QList<TBoxSeen> seen = EditorTest::WaitForBoxes(boxes, 1);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].Title, QStringLiteral("Vilo"));
        QCOMPARE(seen[0].Text, QStringLiteral("Table 'CityEng.DB' is read-only; the row was not written."));
        QCOMPARE(grid->model()->index(0, 1).data().toString(), QStringLiteral("-5"));
        QCOMPARE(Contents(p.Home.TablesDir()), before);

        // Writable again, the same change is posted.
        QVERIFY(QFile::setPermissions(p.Home.TablesDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        EditorTest::Press(editor->Navigator(1), TDBNavigator::Post);
        QVERIFY(boxes.Take().isEmpty());
        QCOMPARE(EditorTest::StoredRows(path)[0][1], QStringLiteral("-5"));
    }

    void otherColumnNamesAreReadByPosition_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("table");
        QTest::addColumn<bool>("swedish");
        QTest::newRow("English cities") << "CityEng.DB" << 1 << false;
        QTest::newRow("English floors") << "FloorEng.DB" << 5 << false;
        QTest::newRow("Swedish concretes") << "Concrete.db" << 2 << true;
        QTest::newRow("Swedish soils") << "SOIL.DB" << 4 << true;
    }
    void otherColumnNamesAreReadByPosition()
    {
        QFETCH(QString, file);
        QFETCH(int, table);
        QFETCH(bool, swedish);
        struct TOutcome {
            QStringList Results;
            TReportPage Page;
        };
        // Calculate with a floor structure, then the report of the same rows.
        const auto run = [&](bool rename) -> TOutcome {
            TProgram p;
            const QString path = p.Home.TablePath(file);
            if (rename) {
                TPlainConnection db(path);
                const QString name = db.TableName();
                const QList<QVariantList> columns = db.Rows(QStringLiteral("PRAGMA table_info(\"%1\")").arg(name));
                for (int c = 0; c < columns.size(); ++c)
                    db.Exec(QStringLiteral("ALTER TABLE \"%1\" RENAME COLUMN \"%2\" TO \"Column %3\"").arg(name, columns[c][1].toString()).arg(c + 1));
            }
            const QMap<QString, QByteArray> before = Contents(p.Home.TablesDir());
            TBoxAnswerer boxes;
            p.Start();
            TCalcWindow* window = p.ChooseLanguage(swedish);
            if (!window)
                return {};
            window->CheckBox1->setChecked(true);
            QTest::mouseClick(window->Button1, Qt::LeftButton);
            TOutcome outcome{ResultTexts(window), {}};
            QTest::mouseClick(window->Button5, Qt::LeftButton);
            outcome.Page = ReportPage(swedish ? static_cast<TDetailsDialog*>(p.App->Form9) : p.App->Form7);
            if (!boxes.Take().isEmpty() || Contents(p.Home.TablesDir()) != before)
                return {};
            return outcome;
        };
        const TOutcome usual = run(false);
        const TOutcome renamed = run(true);
        QVERIFY(!usual.Results.isEmpty() && !usual.Results.contains(QString()));
        QCOMPARE(renamed.Results, usual.Results);

        int dataTexts = 0;
        for (const TReportBand& band : usual.Page.Bands) {
            for (const TReportElement& element : band.Elements) {
                if (element.Kind != TElementKind::DataText)
                    continue;
                ++dataTexts;
                const QString text = renamed.Page.Element(element.Name).Text;
                QVERIFY2(!element.Text.isEmpty(), qPrintable(element.Name));
                QCOMPARE(text, element.TableNumber == table ? QString() : element.Text);
            }
        }
        QVERIFY(dataTexts > 0);
    }

    void tooFewColumnsStopTheCalculation_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("dropped");  // the column position that goes
        QTest::addColumn<bool>("swedish");
        QTest::addColumn<bool>("floor");
        QTest::addColumn<QString>("text");
        QTest::newRow("soil without conductivity") << "SOILEng.DB" << 1 << false << false
                                                   << "Table 'SOILEng.DB' has no column at position 1 (its columns are at positions 0 to 0)";
        QTest::newRow("city without July") << "City.db" << 4 << true << false
                                           << "Table 'City.db' has no column at position 4 (its columns are at positions 0 to 3)";
        QTest::newRow("floor without heat resistance") << "FloorEng.DB" << 2 << false << true
                                                       << "Table 'FloorEng.DB' has no column at position 2 (its columns are at positions 0 to 1)";
    }
    void tooFewColumnsStopTheCalculation()
    {
        QFETCH(QString, file);
        QFETCH(int, dropped);
        QFETCH(bool, swedish);
        QFETCH(bool, floor);
        QFETCH(QString, text);
        TProgram p;
        Reshape(p.Home.TablePath(file), {QStringLiteral("ALTER TABLE \"%1\" DROP COLUMN \"%2\"")}, dropped);
        const QMap<QString, QByteArray> before = Contents(p.Home.TablesDir());
        TBoxAnswerer boxes;
        p.Start();
        TCalcWindow* window = p.ChooseLanguage(swedish);
        QVERIFY(window);
        if (floor) {
            // Without a floor structure the floor's heat resistance is not read.
            QTest::mouseClick(window->Button1, Qt::LeftButton);
            QVERIFY(boxes.Take().isEmpty());
            QVERIFY(!window->Edit6->text().isEmpty());
            window->CheckBox1->setChecked(true);
        }
        const QStringList shown = ResultTexts(window);
        QTest::mouseClick(window->Button1, Qt::LeftButton);
        const QList<TBoxSeen> seen = boxes.Take();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].Title, QStringLiteral("Vilo"));
        QCOMPARE(seen[0].Icon, QMessageBox::Critical);
        QCOMPARE(seen[0].Text, text);
        QCOMPARE(ResultTexts(window), shown);
        QVERIFY(window->isVisible());
        QCOMPARE(Contents(p.Home.TablesDir()), before);
    }
};

int main(int argc, char** argv)
{
    DropFileModeOverride();
    QApplication app(argc, argv);
    TableFilesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tablefiles_test.moc"
