// A long session through the real windows, as a user works: calculations in both
// languages with changing typed values (some refused), picks in the lookup boxes,
// edits, new rows and deletions in the editors, language switches. No box may appear
// that the action did not call for, and resident memory must stay flat.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <memory>
#include <random>

#include "app/TViloApplication.h"
#include "data/TTable.h"
#include "data/TTableSet.h"
#include "support/ViloTestSupport.h"
#include "ui/TDBGrid.h"
#include "ui/TDBLookupComboBox.h"
#include "ui/TDBNavigator.h"
#include "ui/TDatabaseEditor.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"

using namespace ViloTest;

#if defined(__SANITIZE_ADDRESS__)
#define VILO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VILO_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef VILO_ADDRESS_SANITIZER
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr int ActionCount = 10000;
constexpr int WarmUpActions = 1000;
constexpr long MaxGrowthKiB = 5 * 1024;

// Resident memory of this process, in KiB.
long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The memory the growth bound applies to, in KiB: resident memory, except under
// AddressSanitizer, whose quarantine of freed blocks and store of allocation stacks make
// resident memory grow by design; there it is the bytes the program holds allocated.
long HeldKiB()
{
#ifdef VILO_ADDRESS_SANITIZER
    return long(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return ResidentKiB();
#endif
}

// Runs posted events, deleted objects included, as the program's event loop would.
void Idle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Waits (briefly) until Condition holds.
template <typename F>
bool WaitUntil(F condition)
{
    for (int i = 0; i < 2000 && !condition(); ++i)
        QTest::qWait(1);
    return condition();
}

void Click(QWidget* control)
{
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

// Keys go to the grid's open cell editor, else to the grid, as a keyboard's do.
void GridKey(TDBGrid* grid, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = grid->CellEditor() ? static_cast<QWidget*>(grid->CellEditor()) : grid;
    QTest::keyClick(target, key, modifiers);
}

void GridType(TDBGrid* grid, const QString& text)
{
    for (const QChar c : text)
        QTest::keyClicks(grid->CellEditor() ? static_cast<QWidget*>(grid->CellEditor()) : grid, QString(c));
}

class TSession {
public:
    TSession() : FRandom(20090429)
    {
        // The default inputs are written with a decimal comma.
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        App->CreateForms();
        App->InstallErrorBox();
        App->ShowMainWindow();
    }
    ~TSession() { QLocale::setDefault(QLocale::c()); }

    TTestHome Home;
    TBoxAnswerer Boxes;
    std::unique_ptr<TViloApplication> App = std::make_unique<TViloApplication>();

    // One action chosen at random; the boxes it called for were seen, and no other.
    void Act()
    {
        const int roll = Pick(100);
        if (roll < 30)
            TypeAndCalculate();
        else if (roll < 45)
            PickInLookup();
        else if (roll < 50)
            Tick();
        else if (roll < 54)
            SwitchLanguage();
        else if (!Editor()->isVisible())
            OpenEditor();
        else if (roll < 66)
            EditCity();
        else if (roll < 68)
            RefusedCityText();
        else if (roll < 75)
            InsertOrDeleteSoil();
        else if (roll < 97)
            MoveAround();
        else
            CloseEditor();
        Idle();
        const QList<TBoxSeen> late = Boxes.Take();
        for (const TBoxSeen& box : late)
            QFAIL(qPrintable(QStringLiteral("unexpected box after %1: %2").arg(FLastAction, box.Text)));
    }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(FRandom); }
    template <typename T>
    const T& PickOf(const QList<T>& values) { return values[Pick(int(values.size()))]; }

    bool English() const { return App->FormEng->isVisible(); }
    TCalcWindow* Window() const
    {
        return English() ? static_cast<TCalcWindow*>(App->FormEng) : static_cast<TCalcWindow*>(App->Form3);
    }
    TDatabaseEditor* Editor() const
    {
        return English() ? static_cast<TDatabaseEditor*>(App->Form5) : static_cast<TDatabaseEditor*>(App->Form4);
    }
    TCalcWindowTexts Texts() const { return English() ? TFormEng::Texts() : TForm3::Texts(); }

    // Exactly the boxes Expected were seen during the action. Some come from a handler
    // the toolkit runs after the event that caused them: those are waited for.
    void ExpectBoxes(const QStringList& expected)
    {
        QStringList seen;
        WaitUntil([&] {
            for (const TBoxSeen& box : Boxes.Take())
                seen << box.Text;
            return seen.size() >= expected.size();
        });
        QVERIFY2(seen == expected, qPrintable(QStringLiteral("%1: boxes [%2], expected [%3]")
                                                  .arg(FLastAction, seen.join(" | "), expected.join(" | "))));
    }

    void Retype(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, text);
        QCOMPARE(box->text(), text);
    }

    void Calculate(const QStringList& expectedBoxes)
    {
        TCalcWindow* window = Window();
        window->Edit6->clear();
        Click(window->Button1);
        ExpectBoxes(expectedBoxes);
        QVERIFY2(!window->Edit6->text().isEmpty(), qPrintable(FLastAction));
    }

    // A new value in one input box, then Calculate; now and then a text that is no
    // number (refused, then corrected) or a width out of range (warned, calculated).
    void TypeAndCalculate()
    {
        struct TInput {
            QLineEdit* TCalcWindow::*Box;
            QStringList Values;
        };
        static const QList<TInput> inputs = {
            {&TCalcWindow::Edit1, {"18", "20", "21,5", "23"}},
            {&TCalcWindow::Edit16, {"2", "3", "4", "5,5"}},
            {&TCalcWindow::Edit3, {"12", "15", "20", "30"}},
            {&TCalcWindow::Edit2, {"6", "8", "10", "12"}},
            {&TCalcWindow::Edit4, {",05", ",1", ",15", ",2"}},
            {&TCalcWindow::Edit5, {",08", ",1", ",12"}},
        };
        const TInput& input = PickOf(inputs);
        QLineEdit* box = Window()->*input.Box;
        const QString value = PickOf(input.Values);
        const int kind = Pick(10);
        if (kind == 0) {
            const QString bad = PickOf(QStringList{"abc", "1,2,3", "", "2.5", " 4 x "});
            FLastAction = QStringLiteral("Calculate with '%1' in %2").arg(bad, box->objectName());
            Retype(box, bad);
            Click(Window()->Button1);
            ExpectBoxes({QStringLiteral("'%1' is not a valid floating point value.").arg(bad)});
        } else if (kind == 1 && input.Box == &TCalcWindow::Edit2) {
            FLastAction = QStringLiteral("Calculate with a width under 5 m");
            Retype(box, QStringLiteral("4"));
            Calculate({Texts().WidthMessage});
        }
        FLastAction = QStringLiteral("Calculate with '%1' in %2").arg(value, box->objectName());
        Retype(box, value);
        Calculate({});
    }

    // A pick with the arrows in the closed box, or from the opened list.
    void PickInLookup()
    {
        TCalcWindow* window = Window();
        QList<TDBLookupComboBox*> boxes = {window->CityLookupComboBox, window->DBLookupComboBox2,
                                           window->DBLookupComboBox3, window->DBLookupComboBox4};
        if (window->DBLookupComboBox1->isVisible())
            boxes << window->DBLookupComboBox1;
        TDBLookupComboBox* box = PickOf(boxes);
        TTable* table = box->Table();
        box->setFocus();
        bool picked = true;
        if (Pick(2) == 0) {
            FLastAction = QStringLiteral("arrow in %1").arg(box->objectName());
            QTest::keyClick(box, Pick(2) ? Qt::Key_Down : Qt::Key_Up);
        } else {
            FLastAction = QStringLiteral("list of %1").arg(box->objectName());
            QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
            QVERIFY2(WaitUntil([box] { return box->view()->isVisible(); }), qPrintable(FLastAction));
            const int steps = Pick(5);
            for (int i = 0; i < steps; ++i)
                QTest::keyClick(box->view(), Pick(3) ? Qt::Key_Down : Qt::Key_Up);
            picked = Pick(6) != 0;
            QTest::keyClick(box->view(), picked ? Qt::Key_Return : Qt::Key_Escape);
            QVERIFY2(WaitUntil([box] { return !box->view()->isVisible(); }), qPrintable(FLastAction));
        }
        ExpectBoxes({});
        // A pick shows the name of the row it made current.
        if (picked)
            QCOMPARE(box->ShownName(), table->FieldText(0));
    }

    void Tick()
    {
        TCalcWindow* window = Window();
        QCheckBox* tick = window->CheckBox2->isVisible() && Pick(2) ? window->CheckBox2 : window->CheckBox1;
        FLastAction = QStringLiteral("tick %1").arg(tick->objectName());
        const bool was = tick->isChecked();
        Click(tick);
        QCOMPARE(tick->isChecked(), !was);
        QCOMPARE(window->DBLookupComboBox1->isVisible(), window->CheckBox1->isChecked());
        ExpectBoxes({});
    }

    void SwitchLanguage()
    {
        const bool english = English();
        FLastAction = QStringLiteral("switch language");
        Click(Window()->Button4);
        QCOMPARE(English(), !english);
        QVERIFY(App->FormEng->isVisible() != App->Form3->isVisible());
        ExpectBoxes({});
    }

    void OpenEditor()
    {
        FLastAction = QStringLiteral("Edit Databases");
        Click(Window()->Button2);
        QVERIFY(Editor()->isVisible());
        ExpectBoxes({});
    }

    void CloseEditor()
    {
        FLastAction = QStringLiteral("close the editor");
        Click(Editor()->Button1);
        QVERIFY(!Editor()->isVisible());
        ExpectBoxes({});
    }

    // A new annual mean temperature for one of the first cities, typed into the grid and posted.
    void EditCity()
    {
        TDBGrid* grid = Editor()->Grid(1);
        TDBNavigator* navigator = Editor()->Navigator(1);
        TTable* cities = grid->Table();
        const QString value = PickOf(QStringList{"6", "7,5", "8", "9,2"});
        FLastAction = QStringLiteral("type %1 into a city").arg(value);
        Click(navigator->Button(TDBNavigator::First));
        const int row = Pick(2);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, 1)).center());
        QCOMPARE(cities->RecNo(), row);
        // A click on the current cell opens it with its text: the new value replaces it.
        if (grid->Editing())
            GridKey(grid, Qt::Key_A, Qt::ControlModifier);
        GridType(grid, value);
        QVERIFY(grid->Editing());
        Click(navigator->Button(TDBNavigator::Post));
        QCOMPARE(cities->State(), TDataSetState::Browse);
        QCOMPARE(cities->FieldText(1), value);
        ExpectBoxes({});
    }

    // A text the number column cannot take is refused with a box; Escape drops it.
    void RefusedCityText()
    {
        TDBGrid* grid = Editor()->Grid(1);
        TTable* cities = grid->Table();
        FLastAction = QStringLiteral("refused text in a city");
        Click(Editor()->Navigator(1)->Button(TDBNavigator::Last));
        grid->setFocus();
        grid->SetSelectedIndex(1);
        const QString before = cities->FieldText(1);
        GridType(grid, QStringLiteral("x1"));
        Click(Editor()->Navigator(1)->Button(TDBNavigator::Post));
        ExpectBoxes({QStringLiteral("'x1' is not a valid floating point value for field '%1'").arg(cities->FieldName(1))});
        GridKey(grid, Qt::Key_Escape);
        GridKey(grid, Qt::Key_Escape);
        QVERIFY2(!grid->Editing(), qPrintable(FLastAction));
        QCOMPARE(cities->State(), TDataSetState::Browse);
        QCOMPARE(cities->FieldText(1), before);
        ExpectBoxes({});
    }

    // A soil of our own: inserted and posted, or found again and deleted.
    void InsertOrDeleteSoil()
    {
        TDatabaseEditor* editor = Editor();
        TDBGrid* grid = editor->Grid(4);
        TDBNavigator* navigator = editor->Navigator(4);
        TTable* soils = grid->Table();
        QString& ours = English() ? FOwnSoilEng : FOwnSoilSve;
        const int rows = soils->RecordCount();
        if (ours.isEmpty()) {
            ours = QStringLiteral("Test soil %1").arg(++FSoilNumber);
            FLastAction = QStringLiteral("insert %1").arg(ours);
            Click(navigator->Button(TDBNavigator::Insert));
            grid->setFocus();
            GridKey(grid, Qt::Key_Home);  // the name column
            GridType(grid, ours);
            GridKey(grid, Qt::Key_Tab);
            GridType(grid, QStringLiteral("1,4"));
            Click(navigator->Button(TDBNavigator::Post));
            QCOMPARE(soils->RecordCount(), rows + 1);
            QCOMPARE(soils->FieldText(0), ours);
            ExpectBoxes({});
        } else {
            FLastAction = QStringLiteral("delete %1").arg(ours);
            Click(navigator->Button(TDBNavigator::First));
            for (int i = 0; i < rows && soils->FieldText(0) != ours; ++i)
                Click(navigator->Button(TDBNavigator::Next));
            QCOMPARE(soils->FieldText(0), ours);
            Boxes.Queue(QMessageBox::Ok);
            Click(navigator->Button(TDBNavigator::Delete));
            ExpectBoxes({QStringLiteral("Delete record?")});
            QCOMPARE(soils->RecordCount(), rows - 1);
            QVERIFY(!soils->ColumnValues(soils->FieldName(0)).contains(ours));
            ours.clear();
        }
    }

    // The navigator's moves and the grid's moving keys on any of the five tables.
    void MoveAround()
    {
        const int number = 1 + Pick(5);
        TDBGrid* grid = Editor()->Grid(number);
        TDBNavigator* navigator = Editor()->Navigator(number);
        TTable* table = grid->Table();
        if (Pick(2)) {
            const auto button = TDBNavigator::TButton(Pick(4));  // First, Prior, Next, Last
            FLastAction = QStringLiteral("navigator %1 of table %2").arg(int(button)).arg(number);
            Click(navigator->Button(button));
        } else {
            // Up, Left and Right never leave the rows there are.
            const Qt::Key key = PickOf(QList<Qt::Key>{Qt::Key_Up, Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp});
            FLastAction = QStringLiteral("key %1 in table %2").arg(int(key)).arg(number);
            grid->setFocus();
            GridKey(grid, key);
        }
        QCOMPARE(table->State(), TDataSetState::Browse);
        QCOMPARE(grid->currentIndex().row(), table->RecNo());
        ExpectBoxes({});
    }

    std::mt19937 FRandom;
    QString FLastAction;
    QString FOwnSoilEng, FOwnSoilSve;
    int FSoilNumber = 0;
};

}  // namespace

class LongRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseProgramFont(); }

    void tenThousandActionsKeepMemoryFlat()
    {
        TSession session;
        Click(session.App->FormLanguage->Image1);
        QVERIFY(session.App->FormEng->isVisible());
        long firstKiB = -1;
        long firstHeldKiB = -1;
        for (int action = 1; action <= ActionCount; ++action) {
            session.Act();
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("stopped at action %1").arg(action)));
            if (action == WarmUpActions) {
                firstKiB = ResidentKiB();
                firstHeldKiB = HeldKiB();
            }
        }
        const long lastKiB = ResidentKiB();
        const long lastHeldKiB = HeldKiB();
        // Printed directly: the platform's many warnings use up the test log's message quota.
        std::printf("resident memory after %d actions: %ld KiB; after %d: %ld KiB; growth %ld KiB\n", WarmUpActions,
                    firstKiB, ActionCount, lastKiB, lastKiB - firstKiB);
#ifdef VILO_ADDRESS_SANITIZER
        std::printf("allocated under AddressSanitizer after %d actions: %ld KiB; after %d: %ld KiB; growth %ld KiB\n",
                    WarmUpActions, firstHeldKiB, ActionCount, lastHeldKiB, lastHeldKiB - firstHeldKiB);
#endif
        std::fflush(stdout);
        QVERIFY(firstHeldKiB > 0 && lastHeldKiB > 0);
        QVERIFY2(lastHeldKiB - firstHeldKiB < MaxGrowthKiB, "memory grew by 5 MB or more");
        QVERIFY(!session.App->Ended());
    }
};

QTEST_MAIN(LongRunTest)
#include "longrun_test.moc"
