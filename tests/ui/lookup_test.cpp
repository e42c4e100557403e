// The lookup boxes: what a pick, a typed prefix, the arrows and the list do to the
// table's shared current row, and what the box then shows.
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLocale>
#include <QTest>

#include <memory>

#include "data/TErrorGuard.h"
#include "data/TTable.h"
#include "data/TTableSet.h"
#include "support/ViloTestSupport.h"
#include "ui/TDBLookupComboBox.h"
#include "ui/TErrorBox.h"
#include "ui/Unit3.h"
#include "ui/Unit4.h"

using namespace ViloTest;

namespace {

// The Swedish window: its city names carry å, ä and ö.
struct TSwedish {
    TTestHome Home;
    std::unique_ptr<TForm3> Window = std::make_unique<TForm3>();
    std::unique_ptr<TForm4> Editor = std::make_unique<TForm4>();
    TSwedish()
    {
        Window->BindTables(Editor->Tables());
        Window->show();
    }
    TDBLookupComboBox* Box() const { return Window->CityLookupComboBox; }
    TTable* Cities() const { return Editor->Tables()->Table(1); }
    QString Current() const { return Cities()->DisplayText(QStringLiteral("Stad")); }
    int RowOf(const QString& name) const { return Cities()->ColumnValues(QStringLiteral("Stad")).indexOf(name); }
};

// Opens the list, moves the highlight Steps rows with the arrow keys and closes it with Key.
void UseList(TDBLookupComboBox* box, int steps, Qt::Key key)
{
    box->showPopup();
    QTRY_VERIFY(box->view()->isVisible());
    for (int i = 0; i < std::abs(steps); ++i)
        QTest::keyClick(box->view(), steps > 0 ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(box->view(), key);
    QTRY_VERIFY(!box->view()->isVisible());
}

// Types Text key by key as a keyboard would; QTest's key clicks know ASCII only.
void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

}  // namespace

class LookupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        UseProgramFont();
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        SetErrorHandler([](const QString& message) { ShowErrorBox(message); });
    }

    void listMovesTheRowAndEnterPicks()
    {
        TSwedish s;
        QCOMPARE(s.Box()->ShownName(), QString());
        QCOMPARE(s.Cities()->RecNo(), 0);  // first row before any pick
        s.Box()->showPopup();
        QTRY_VERIFY(s.Box()->view()->isVisible());
        QTest::keyClick(s.Box()->view(), Qt::Key_Down);
        QTest::keyClick(s.Box()->view(), Qt::Key_Down);
        QCOMPARE(s.Cities()->RecNo(), 2);  // the highlight moves the row while the list is open
        QTest::keyClick(s.Box()->view(), Qt::Key_Return);
        QCOMPARE(s.Box()->ShownName(), s.Current());
        QCOMPARE(s.Cities()->RecNo(), 2);
    }

    void aNameLongerThanTheBoxEndsInAnEllipsis()
    {
        TSwedish s;
        const QString longName = QString::fromUtf8("Skellefte\u00e5 (K\u00e5getr\u00e4sk, norra delen av kommunen)");
        TTable* cities = s.Cities();
        cities->Last();
        cities->Append();
        cities->SetFieldText(0, longName);
        for (int i = 1; i <= 4; ++i)
            cities->SetFieldText(i, QStringLiteral("1"));
        cities->Post();
        UseList(s.Box(), cities->RecordCount() - 1, Qt::Key_Return);
        QCOMPARE(s.Box()->ShownName(), longName);
        const QString painted = s.Box()->PaintedText();
        QVERIFY2(painted.endsWith(QChar(0x2026)), qPrintable(painted));
        QVERIFY2(longName.startsWith(painted.chopped(1)), qPrintable(painted));
        QVERIFY(s.Box()->fontMetrics().horizontalAdvance(painted) < s.Box()->width());
        // A name that fits is painted whole.
        UseList(s.Box(), -1, Qt::Key_Return);
        QCOMPARE(s.Box()->PaintedText(), s.Box()->ShownName());
    }

    void escapeAfterAMoveElsewhereReturnsToTheShownName()
    {
        TSwedish s;
        UseList(s.Box(), 3, Qt::Key_Return);
        const QString picked = s.Box()->ShownName();
        s.Cities()->MoveTo(7);  // the editor moves elsewhere; the box does not follow
        QCOMPARE(s.Box()->ShownName(), picked);
        UseList(s.Box(), 0, Qt::Key_Escape);
        QCOMPARE(s.Current(), picked);
        QCOMPARE(s.Box()->ShownName(), picked);
        // A column layout change re-locates the shown name too.
        s.Cities()->MoveTo(9);
        s.Cities()->NotifyLayoutChanged();
        QCOMPARE(s.Current(), picked);
    }

    void duplicateNamesReachTheFirstRow()
    {
        TSwedish s;
        TTable* cities = s.Cities();
        cities->Last();
        cities->Append();
        cities->SetFieldText(0, QStringLiteral("Lund"));
        for (int i = 1; i <= 4; ++i)
            cities->SetFieldText(i, QStringLiteral("1"));
        cities->Post();
        const int last = cities->RecordCount() - 1;
        const int first = s.RowOf(QStringLiteral("Lund"));
        QVERIFY(first < last);
        cities->First();
        // The second "Lund" clicked while the box held another name: the first "Lund" becomes current.
        UseList(s.Box(), last, Qt::Key_Return);
        QCOMPARE(s.Box()->ShownName(), QString("Lund"));
        QCOMPARE(cities->RecNo(), first);
        // Picked again while the box already shows "Lund": the row stays where the list left it.
        UseList(s.Box(), last - first, Qt::Key_Return);
        QCOMPARE(cities->RecNo(), last);
    }

    void typingSearchesByPrefixIgnoringCase_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("picked");
        QTest::newRow("small o-umlaut") << QString::fromUtf8("ö") << QString::fromUtf8("Östersund");
        QTest::newRow("capital O-umlaut") << QString::fromUtf8("Ö") << QString::fromUtf8("Östersund");
        QTest::newRow("a-ring after u") << QString::fromUtf8("UMÅ") << QString::fromUtf8("Umeå");
        QTest::newRow("two letters") << QString::fromUtf8("gä") << QString::fromUtf8("Gävle");
        QTest::newRow("a key that finds nothing is dropped") << QString::fromUtf8("sx") << QString::fromUtf8("Stockholm");
    }
    void typingSearchesByPrefixIgnoringCase()
    {
        QFETCH(QString, typed);
        QFETCH(QString, picked);
        TSwedish s;
        s.Box()->setFocus();
        TypeText(s.Box(), typed);
        QCOMPARE(s.Box()->ShownName(), picked);
        QCOMPARE(s.Current(), picked);
    }

    void arrowsInTheClosedBox()
    {
        TSwedish s;
        s.Cities()->MoveTo(5);
        QTest::keyClick(s.Box(), Qt::Key_Down);  // nothing shown: the first row
        QCOMPARE(s.Cities()->RecNo(), 0);
        QCOMPARE(s.Box()->ShownName(), s.Current());
        QTest::keyClick(s.Box(), Qt::Key_Down);
        QTest::keyClick(s.Box(), Qt::Key_Down);
        QCOMPARE(s.Cities()->RecNo(), 2);
        s.Cities()->MoveTo(8);  // moved elsewhere: the arrows start from the shown name
        QTest::keyClick(s.Box(), Qt::Key_Up);
        QCOMPARE(s.Cities()->RecNo(), 1);
        QCOMPARE(s.Box()->ShownName(), s.Current());
        QTest::keyClick(s.Box(), Qt::Key_Down, Qt::AltModifier);  // Alt+Down opens the list
        QTRY_VERIFY(s.Box()->view()->isVisible());
        QTest::keyClick(s.Box()->view(), Qt::Key_Escape);
    }

    void pickPostsAPendingChange()
    {
        TSwedish s;
        s.Cities()->SetFieldText(1, QStringLiteral("3,5"));  // pending, not in the file
        QCOMPARE(s.Cities()->State(), TDataSetState::Edit);
        UseList(s.Box(), 4, Qt::Key_Return);
        QCOMPARE(s.Cities()->State(), TDataSetState::Browse);
        TPlainConnection file(s.Home.TablePath(QStringLiteral("City.db")));
        QCOMPARE(file.Rows().at(0).at(1).toDouble(), 3.5);
    }

    void renamedOrDeletedShownRow()
    {
        TSwedish s;
        UseList(s.Box(), 2, Qt::Key_Return);
        const QString picked = s.Box()->ShownName();
        // Deleting it: the box keeps the name, the following row is current.
        s.Cities()->Delete();
        QCOMPARE(s.Box()->ShownName(), picked);
        QCOMPARE(s.Cities()->RecNo(), 2);
        // Renaming the shown row: opening the list finds the old name no more and starts at the first row.
        UseList(s.Box(), 0, Qt::Key_Return);
        const QString shown = s.Box()->ShownName();
        s.Cities()->SetFieldText(0, shown + QStringLiteral(" N"));
        s.Cities()->Post();
        s.Cities()->MoveTo(5);
        s.Box()->showPopup();
        QCOMPARE(s.Cities()->RecNo(), 0);
        QCOMPARE(s.Box()->ShownName(), shown);
        QTest::keyClick(s.Box()->view(), Qt::Key_Escape);
    }
};

QTEST_MAIN(LookupTest)
#include "lookup_test.moc"
