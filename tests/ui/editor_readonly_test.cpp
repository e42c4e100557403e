// A table file that can only be read: the editor moves through it and changes nothing.
#include <QApplication>
#include <QFile>
#include <QTest>

#include "EditorTestSupport.h"
#include "ui/Unit5.h"

using namespace EditorTest;
using Nav = TDBNavigator;

class EditorReadOnlyTest : public QObject {
    Q_OBJECT
private slots:
    void movingOnly();
};

void EditorReadOnlyTest::movingOnly()
{
    TEnvironment env;
    const QString path = env.Home.TablePath(QStringLiteral("CityEng.DB"));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray stored = Fixture::FileHash(path);
    TForm5 editor;
    QVERIFY(ShowActive(&editor));
    TTable* cities = editor.Tables()->Table(1);
    Nav* nav = editor.Navigator(1);
    TDBGrid* grid = editor.Grid(1);
    QVERIFY(!cities->CanModify());

    // Only the four moving buttons, as the flags allow.
    QCOMPARE(EnabledButtons(nav), QStringLiteral("0011000000"));
    Press(nav, Nav::Next);
    QCOMPARE(EnabledButtons(nav), QStringLiteral("1111000000"));
    QCOMPARE(cities->RecNo(), 1);
    // The other tables of the window are not affected.
    QCOMPARE(EnabledButtons(editor.Navigator(2)), QStringLiteral("0011111001"));

    // The grid moves but opens no cell, inserts, appends and deletes nothing.
    grid->setFocus();
    Type(grid, QStringLiteral("5"));
    Key(grid, Qt::Key_F2);
    Key(grid, Qt::Key_Return);
    QVERIFY(!grid->Editing());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(grid, 1, 0));
    QVERIFY(!grid->Editing());
    Key(grid, Qt::Key_Insert);
    Key(grid, Qt::Key_Delete, Qt::ControlModifier);
    Key(grid, Qt::Key_End, Qt::ControlModifier);
    const int rows = cities->RecordCount();
    Key(grid, Qt::Key_Down);
    QCOMPARE(cities->RecordCount(), rows);
    QCOMPARE(cities->RecNo(), rows - 1);
    QCOMPARE(cities->State(), TDataSetState::Browse);
    QCOMPARE(EnabledButtons(nav), QStringLiteral("1100000000"));
    Key(grid, Qt::Key_Up);
    QCOMPARE(cities->RecNo(), rows - 2);
    QVERIFY(env.Boxes.Take().isEmpty());
    QCOMPARE(Fixture::FileHash(path), stored);
}

int main(int argc, char** argv)
{
    ViloTest::DropFileModeOverride();
    QApplication app(argc, argv);
    EditorReadOnlyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "editor_readonly_test.moc"
