// The two editor windows: frames, the parts in their places, tab order, each grid and
// navigator on its own table, hiding.
#include <QAbstractButton>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "EditorTestSupport.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"

using namespace EditorTest;

namespace {

std::unique_ptr<TDatabaseEditor> MakeEditor(bool swedish)
{
    if (swedish)
        return std::make_unique<TForm4>();
    return std::make_unique<TForm5>();
}

}  // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT
private slots:
    void frames();
    void partsInsideTheWindow_data();
    void partsInsideTheWindow();
    void gridsAndNavigatorsWorkOnTheirOwnTable_data();
    void gridsAndNavigatorsWorkOnTheirOwnTable();
    void tabOrder_data();
    void tabOrder();
    void hidingKeepsPendingRows();
    void firstShowFindsTheRowMovedWhileHidden();
};

void EditorWindowTest::frames()
{
    TEnvironment env;
    TForm4 swedish;
    TForm5 english;
    QCOMPARE(swedish.windowTitle(), QStringLiteral("Database Editor Sve"));
    QCOMPARE(english.windowTitle(), QStringLiteral("Database Editor Eng"));
    QVERIFY(!swedish.isVisible());
    QVERIFY(!english.isVisible());

    // The Swedish editor: a fixed frame with a title and no title-bar button at all.
    const Qt::WindowFlags sve = swedish.windowFlags();
    QVERIFY(sve.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(sve.testFlag(Qt::WindowTitleHint));
    QVERIFY(!sve.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!sve.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!sve.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!sve.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(swedish.minimumSize(), QSize(693, 407));
    QCOMPARE(swedish.maximumSize(), QSize(693, 407));
    QCOMPARE(swedish.pos(), QPoint(14, 33));

    // The English editor: sizeable, with system menu, minimise, maximise and close.
    const Qt::WindowFlags eng = english.windowFlags();
    QVERIFY(eng.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(eng.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(eng.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(eng.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(english.minimumSize() != english.maximumSize());
    QCOMPARE(english.size(), QSize(693, 407));
    QCOMPARE(english.pos(), QPoint(17, 34));
    QCOMPARE(english.Button1->text(), QStringLiteral("Close Databases"));
    QCOMPARE(swedish.Button1->text(), QString::fromUtf8("St\u00e4ng Databaser"));

    // Parts keep their place when the English window grows.
    const QRect grid = english.Grid(4)->geometry();
    english.resize(900, 600);
    QCOMPARE(english.Grid(4)->geometry(), grid);
}

void EditorWindowTest::partsInsideTheWindow_data()
{
    QTest::addColumn<bool>("swedish");
    QTest::newRow("Swedish") << true;
    QTest::newRow("English") << false;
}

void EditorWindowTest::partsInsideTheWindow()
{
    QFETCH(bool, swedish);
    TEnvironment env;
    auto editor = MakeEditor(swedish);
    QVERIFY(ShowActive(editor.get()));
    // Nothing is clipped by the window's edge, and a navigator covers no other grid.
    const QRect client = editor->rect();
    for (int n = 1; n <= 5; ++n) {
        QVERIFY2(client.contains(editor->Grid(n)->geometry()), qPrintable(QString::number(n)));
        QVERIFY2(client.contains(editor->Navigator(n)->geometry()), qPrintable(QString::number(n)));
        QCOMPARE(editor->Navigator(n)->width(), 240);
        for (int other = 1; other <= 5; ++other) {
            if (other != n)
                QVERIFY(!editor->Navigator(n)->geometry().intersects(editor->Grid(other)->geometry()));
        }
        for (int i = 0; i < TDBNavigator::ButtonCount; ++i) {
            QAbstractButton* button = editor->Navigator(n)->Button(TDBNavigator::TButton(i));
            QCOMPARE(button->width(), 24);
            QCOMPARE(button->toolTip(), TDBNavigator::Hint(TDBNavigator::TButton(i)));
        }
    }
    QVERIFY(client.contains(editor->Button1->geometry()));
    const QStringList hints{"First record", "Prior record", "Next record", "Last record", "Insert record",
                            "Delete record", "Edit record", "Post edit", "Cancel edit", "Refresh data"};
    for (int i = 0; i < TDBNavigator::ButtonCount; ++i)
        QCOMPARE(TDBNavigator::Hint(TDBNavigator::TButton(i)), hints[i]);
}

void EditorWindowTest::gridsAndNavigatorsWorkOnTheirOwnTable_data()
{
    QTest::addColumn<bool>("swedish");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("firstTitles");
    QTest::newRow("Swedish") << true << QStringList{"City.db", "Concrete.db", "INSULAT.DB", "SOIL.DB", "Floor.db"}
                             << QStringList{"Stad", "Betong", "Isolering", "Mark", "Golv"};
    QTest::newRow("English") << false
                             << QStringList{"CityEng.DB", "ConcreteEng.DB", "INSULATEng.DB", "SOILEng.DB", "FloorEng.DB"}
                             << QStringList{"City", "Concrete", "Insulation", "Soil", "Floor construction"};
}

void EditorWindowTest::gridsAndNavigatorsWorkOnTheirOwnTable()
{
    QFETCH(bool, swedish);
    QFETCH(QStringList, files);
    QFETCH(QStringList, firstTitles);
    TEnvironment env;
    auto editor = MakeEditor(swedish);
    for (int n = 1; n <= 5; ++n) {
        TTable* table = editor->Tables()->Table(n);
        TDBGrid* grid = editor->Grid(n);
        QCOMPARE(grid->objectName(), QStringLiteral("DBGrid%1").arg(n));
        QCOMPARE(table->TableName(), files[n - 1]);
        QCOMPARE(grid->TableModel()->headerData(0, Qt::Horizontal).toString(), firstTitles[n - 1]);
        QCOMPARE(grid->TableModel()->columnCount(), table->FieldCount());
        QCOMPARE(grid->currentIndex().row(), 0);
    }
    // Next on navigator 3 moves table 3 and the highlight of grid 3, nothing else.
    Press(editor->Navigator(3), TDBNavigator::Next);
    for (int n = 1; n <= 5; ++n) {
        QCOMPARE(editor->Tables()->Table(n)->RecNo(), n == 3 ? 1 : 0);
        QCOMPARE(editor->Grid(n)->currentIndex().row(), n == 3 ? 1 : 0);
    }
}

void EditorWindowTest::tabOrder_data()
{
    QTest::addColumn<bool>("swedish");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("Swedish") << true
                             << QStringList{"DBGrid1", "DBGrid3", "DBGrid2", "DBGrid4", "DBGrid5", "DBNavigator1",
                                            "DBNavigator4", "DBNavigator2", "DBNavigator5", "DBNavigator3", "Button1"};
    QTest::newRow("English") << false
                             << QStringList{"DBGrid1", "DBGrid2", "DBGrid3", "DBGrid4", "DBGrid5", "DBNavigator1",
                                            "DBNavigator2", "DBNavigator3", "DBNavigator4", "DBNavigator5", "Button1"};
}

void EditorWindowTest::tabOrder()
{
    QFETCH(bool, swedish);
    QFETCH(QStringList, order);
    TEnvironment env;
    auto editor = MakeEditor(swedish);
    QVERIFY(ShowActive(editor.get()));
    // Ctrl+Tab leaves a grid (plain Tab moves between its cells); Tab leaves the rest.
    editor->Grid(1)->setFocus();
    QStringList seen;
    for (int i = 0; i < order.size() + 1; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        seen << focus->objectName();
        const bool inGrid = qobject_cast<TDBGrid*>(focus) != nullptr;
        QTest::keyClick(focus, Qt::Key_Tab, inGrid ? Qt::ControlModifier : Qt::NoModifier);
    }
    QCOMPARE(seen, order + QStringList{order.first()});
}

void EditorWindowTest::hidingKeepsPendingRows()
{
    TEnvironment env;
    TForm4 swedish;
    TForm5 english;
    for (TDatabaseEditor* editor : {static_cast<TDatabaseEditor*>(&swedish), static_cast<TDatabaseEditor*>(&english)}) {
        QVERIFY(ShowActive(editor));
        TTable* cities = editor->Tables()->Table(1);
        cities->Next();
        cities->SetFieldText(1, QStringLiteral("7"));
        QTest::mouseClick(editor->Button1, Qt::LeftButton);
        QVERIFY(!editor->isVisible());
        QCOMPARE(cities->State(), TDataSetState::Edit);
        QCOMPARE(cities->RecNo(), 1);
        QVERIFY(cities->Active());
        QVERIFY(ShowActive(editor));
        cities->Cancel();
    }
    // The English close box hides like the button; the Swedish editor has none and stays.
    english.close();
    QVERIFY(!english.isVisible());
    swedish.close();
    QVERIFY(swedish.isVisible());
    QVERIFY(env.Boxes.Take().isEmpty());
}

void EditorWindowTest::firstShowFindsTheRowMovedWhileHidden()
{
    TEnvironment env;
    TForm5 english;
    TTable* soils = english.Tables()->Table(4);
    soils->MoveTo(3);  // a lookup pick while the editor was never shown
    QVERIFY(ShowActive(&english));
    QCOMPARE(english.Grid(4)->currentIndex().row(), 3);
    soils->MoveTo(1);
    english.hide();
    soils->Next();
    QVERIFY(ShowActive(&english));
    QCOMPARE(english.Grid(4)->currentIndex().row(), 2);
    QVERIFY(env.Boxes.Take().isEmpty());
}

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
