// Every way out of the program writes the pending rows of both editors first; a row the
// engine refuses is asked about, and going back keeps the program running.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <memory>
#include <unistd.h>

#include "app/TViloApplication.h"
#include "data/DataFixture.h"
#include "data/TTable.h"
#include "data/TTableSet.h"
#include "support/ViloTestSupport.h"
#include "ui/TDBGrid.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"

using namespace ViloTest;

namespace {

struct TProgram {
    TTestHome Home;
    TBoxAnswerer Boxes;
    std::unique_ptr<TViloApplication> App = std::make_unique<TViloApplication>();
    TProgram()
    {
        App->CreateForms();
        App->InstallErrorBox();
        App->WatchSessionEnd();
        App->ShowMainWindow();
    }
    // The first stored row of File, each cell as text.
    QStringList FirstStoredRow(const QString& file) const
    {
        Fixture::TPlainConnection db(Home.TablePath(file));
        const QString table = file.section(u'.', 0, 0);
        const QList<QVariantList> rows = db.Rows(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid LIMIT 1").arg(table));
        QStringList cells;
        for (const QVariant& value : rows.value(0))
            cells << value.toString();
        return cells;
    }
};

// Leaves a change in each language: in the English editor a cell still open with its
// typed text, in the Swedish tables a changed row not yet posted.
void MakePendingChanges(TProgram& p)
{
    QTest::mouseClick(p.App->FormLanguage->Image1, Qt::LeftButton, {}, p.App->FormLanguage->Image1->rect().center());
    QTest::mouseClick(p.App->FormEng->Button2, Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowActive(p.App->Form5));
    TDBGrid* grid = p.App->Form5->Grid(1);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Right);
    QTest::keyClicks(grid, QStringLiteral("4"));
    QVERIFY(grid->Editing());
    p.App->Form4->Tables()->Table(4)->SetFieldText(1, QStringLiteral("1.25"));
}

}  // namespace

class EndProgramTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseProgramFont(); }

    void everyWayOutWritesPendingRows_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Exit") << "Exit";
        QTest::newRow("calculation window's close button") << "close";
        QTest::newRow("chooser's close button") << "chooser";
        QTest::newRow("SIGTERM") << "SIGTERM";
    }

    void everyWayOutWritesPendingRows()
    {
        QFETCH(QString, way);
        TProgram p;
        MakePendingChanges(p);
        if (way == QLatin1String("Exit"))
            QTest::mouseClick(p.App->FormEng->Button3, Qt::LeftButton);
        else if (way == QLatin1String("close"))
            p.App->FormEng->close();
        else if (way == QLatin1String("chooser"))
            p.App->FormLanguage->close();
        else
            ::kill(::getpid(), SIGTERM);
        QTRY_VERIFY(p.App->Ended());
        QCOMPARE(p.FirstStoredRow(QStringLiteral("CityEng.DB")).value(1), QStringLiteral("4"));
        QCOMPARE(p.FirstStoredRow(QStringLiteral("SOIL.DB")).value(1), QStringLiteral("1.25"));
        QVERIFY(p.Boxes.Take().isEmpty());
    }

    void goingBackKeepsTheProgramRunning()
    {
        TProgram p;
        MakePendingChanges(p);
        // Another program changes the Swedish row meanwhile: its post is refused.
        {
            Fixture::TPlainConnection db(p.Home.TablePath(QStringLiteral("SOIL.DB")));
            QVERIFY(db.Exec(QStringLiteral("UPDATE SOIL SET \"%1\" = 9 WHERE rowid = (SELECT min(rowid) FROM SOIL)")
                                .arg(p.App->Form4->Tables()->Table(4)->FieldName(1))));
        }
        p.Boxes.Queue(QMessageBox::Cancel);
        QTest::mouseClick(p.App->FormEng->Button3, Qt::LeftButton);
        QList<TBoxSeen> boxes = p.Boxes.Take();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].Title, QStringLiteral("Database Editor Sve"));
        QVERIFY(!p.App->Ended());
        QVERIFY(p.App->Form4->isVisible());
        QCOMPARE(p.App->Form4->Tables()->Table(4)->State(), TDataSetState::Edit);
        // The English editor was not reached: its cell is still open.
        QVERIFY(p.App->Form5->Grid(1)->Editing());

        // SIGTERM asks the same question; discarding ends the program.
        p.Boxes.Queue(QMessageBox::Discard);
        ::kill(::getpid(), SIGTERM);
        QTRY_VERIFY(p.App->Ended());
        QCOMPARE(p.Boxes.Take().size(), 1);
        QCOMPARE(p.FirstStoredRow(QStringLiteral("SOIL.DB")).value(1), QStringLiteral("9"));
        QCOMPARE(p.FirstStoredRow(QStringLiteral("CityEng.DB")).value(1), QStringLiteral("4"));
    }
};

QTEST_MAIN(EndProgramTest)
#include "endprogram_test.moc"
