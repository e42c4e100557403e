// Start-up and every transition between the windows, as the user triggers them.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "app/TViloApplication.h"
#include "data/TErrorGuard.h"
#include "support/ViloTestSupport.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"
#include "ui/Unit7.h"

using namespace ViloTest;

namespace {

// The whole program over a private table home, started up to its chooser.
struct TProgram {
    TTestHome Home;
    std::unique_ptr<TViloApplication> App = std::make_unique<TViloApplication>();
    TProgram()
    {
        App->CreateForms();
        App->InstallErrorBox();
        App->ShowMainWindow();
    }
    QStringList VisibleWindows() const
    {
        QStringList names;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !w->objectName().isEmpty())
                names << w->objectName();
        names.sort();
        return names;
    }
};

void ClickFlag(QLabel* flag)
{
    QTest::mouseClick(flag, Qt::LeftButton, {}, flag->rect().center());
}

}  // namespace

class NavigationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseProgramFont(); }

    void startsAtTheChooserWithEveryWindowCreated()
    {
        TProgram p;
        QCOMPARE(p.VisibleWindows(), QStringList{"FormLanguage"});
        QCOMPARE(p.App->FormLanguage->windowTitle(), QString("Vilo"));
        QCOMPARE(p.App->FormLanguage->size(), QSize(256, 97));
        QCOMPARE(p.App->FormLanguage->Label3->text(), QString("v. 2009-04-29"));
        QCOMPARE(p.App->Form4->windowTitle(), QString("Database Editor Sve"));
        QCOMPARE(p.App->Form5->windowTitle(), QString("Database Editor Eng"));
        // The flags are mouse only.
        QCOMPARE(p.App->FormLanguage->Image1->focusPolicy(), Qt::NoFocus);
        QCOMPARE(p.App->FormLanguage->Image2->focusPolicy(), Qt::NoFocus);
        QVERIFY(!p.App->FormLanguage->Image1->pixmap().isNull());
    }

    void everyWindowShowsTheProgramIcon()
    {
        TViloApplication::Configure();
        TProgram p;
        const QIcon icon = p.App->FormLanguage->windowIcon();
        QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(48, 48)}));
        for (QWidget* window : QList<QWidget*>{p.App->FormEng, p.App->Form3, p.App->Form4, p.App->Form7})
            QCOMPARE(window->windowIcon().cacheKey(), icon.cacheKey());
    }

    void flagsAndLanguageSwitchKeepEachWindowsState()
    {
        TProgram p;
        ClickFlag(p.App->FormLanguage->Image1);
        QCOMPARE(p.VisibleWindows(), QStringList{"FormEng"});
        p.App->FormEng->Edit1->setText(QStringLiteral("18"));
        p.App->FormEng->CheckBox1->setChecked(true);
        QTest::mouseClick(p.App->FormEng->Button4, Qt::LeftButton);
        QCOMPARE(p.VisibleWindows(), QStringList{"Form3"});
        QCOMPARE(p.App->Form3->Edit1->text(), QString("20"));
        p.App->Form3->Edit3->setText(QStringLiteral("30"));
        QTest::mouseClick(p.App->Form3->Button4, Qt::LeftButton);
        QCOMPARE(p.VisibleWindows(), QStringList{"FormEng"});
        QCOMPARE(p.App->FormEng->Edit1->text(), QString("18"));
        QVERIFY(p.App->FormEng->CheckBox1->isChecked());
        QVERIFY(p.App->FormEng->Edit14->isVisible());
        QTest::mouseClick(p.App->FormEng->Button4, Qt::LeftButton);
        QCOMPARE(p.App->Form3->Edit3->text(), QString("30"));
        QVERIFY(!p.App->Ended());
    }

    void swedishFlagAndTheEditors()
    {
        TProgram p;
        ClickFlag(p.App->FormLanguage->Image2);
        QCOMPARE(p.VisibleWindows(), QStringList{"Form3"});
        QTest::mouseClick(p.App->Form3->Button2, Qt::LeftButton);
        QCOMPARE(p.VisibleWindows(), (QStringList{"Form3", "Form4"}));
        // An editor stays open across a language switch.
        QTest::mouseClick(p.App->Form3->Button4, Qt::LeftButton);
        QTest::mouseClick(p.App->FormEng->Button2, Qt::LeftButton);
        QCOMPARE(p.VisibleWindows(), (QStringList{"Form4", "Form5", "FormEng"}));
        // The English editor closes from its title bar like its button; the Swedish one has no close box.
        p.App->Form5->close();
        QVERIFY(!p.App->Form5->isVisible());
        QVERIFY(!(p.App->Form4->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(p.App->Form4->windowFlags() & Qt::WindowSystemMenuHint));
        p.App->Form4->close();
        QVERIFY(p.App->Form4->isVisible());
        QTest::mouseClick(p.App->Form4->Button1, Qt::LeftButton);
        QCOMPARE(p.VisibleWindows(), QStringList{"FormEng"});
    }

    void everyWayOutEndsTheProgram_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("chooser closed before a choice") << 0;
        QTest::newRow("Exit") << 1;
        QTest::newRow("Avsluta with the editor open") << 2;
        QTest::newRow("English close button") << 3;
        QTest::newRow("Swedish close button") << 4;
    }
    void everyWayOutEndsTheProgram()
    {
        QFETCH(int, way);
        TProgram p;
        switch (way) {
        case 0:
            p.App->FormLanguage->close();
            break;
        case 1:
            ClickFlag(p.App->FormLanguage->Image1);
            QTest::mouseClick(p.App->FormEng->Button3, Qt::LeftButton);
            break;
        case 2:
            ClickFlag(p.App->FormLanguage->Image2);
            QTest::mouseClick(p.App->Form3->Button2, Qt::LeftButton);
            QTest::mouseClick(p.App->Form3->Button3, Qt::LeftButton);
            break;
        case 3:
            ClickFlag(p.App->FormLanguage->Image1);
            p.App->FormEng->close();
            break;
        default:
            ClickFlag(p.App->FormLanguage->Image2);
            p.App->Form3->close();
            break;
        }
        QVERIFY(p.App->Ended());
    }

    void windowPlacesAndFrames()
    {
        TProgram p;
        QCOMPARE(p.App->FormEng->pos(), QPoint(154, 88));
        QCOMPARE(p.App->Form3->pos(), QPoint(15, 31));
        QCOMPARE(p.App->Form4->pos(), QPoint(14, 33));
        QCOMPARE(p.App->Form5->pos(), QPoint(17, 34));
        QVERIFY(!(p.App->FormEng->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(p.App->FormEng->windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(p.App->FormEng->minimumSize(), p.App->FormEng->maximumSize());
        QVERIFY(!(p.App->FormLanguage->windowFlags() & Qt::WindowMinimizeButtonHint));
    }

    void startupFailureShowsApplicationErrorAndNoWindow()
    {
        TTestHome home;
        QVERIFY(QFile::remove(home.TablePath(QStringLiteral("SOILEng.DB"))));
        TBoxAnswerer boxes;
        QCOMPARE(TViloApplication::Run(), 1);
        const QList<TBoxSeen> seen = boxes.Take();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].Title, QString("Application Error"));
        QVERIFY2(seen[0].Text.contains(QLatin1String("SOILEng.DB")), qPrintable(seen[0].Text));
        QVERIFY2(seen[0].Text.contains(QDir::toNativeSeparators(home.TablesDir())), qPrintable(seen[0].Text));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible() || qobject_cast<QMessageBox*>(w), qPrintable(w->objectName()));
    }

    void errorsInHandlersReachTheStandardBox()
    {
        TProgram p;
        ClickFlag(p.App->FormLanguage->Image1);
        p.App->FormEng->Edit1->setText(QStringLiteral("abc"));
        TBoxAnswerer boxes;
        QTest::mouseClick(p.App->FormEng->Button1, Qt::LeftButton);
        const QList<TBoxSeen> seen = boxes.Take();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].Title, QString("Vilo"));
        QCOMPARE(seen[0].Icon, QMessageBox::Critical);
        QCOMPARE(seen[0].Text, QString("'abc' is not a valid floating point value."));
        QVERIFY(p.App->FormEng->isVisible());
    }
};

QTEST_MAIN(NavigationTest)
#include "navigation_test.moc"
