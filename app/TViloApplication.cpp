#include "app/TViloApplication.h"

#include <QApplication>
#include <QCheckBox>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QSessionManager>

#include "app/TTerminationSignal.h"
#include "data/TErrorGuard.h"
#include "data/TTable.h"
#include "data/TTableSet.h"
#include "report/Unit6.h"
#include "report/Unit8.h"
#include "ui/ProgramFont.h"
#include "ui/TErrorBox.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"
#include "ui/Unit7.h"
#include "ui/Unit9.h"

TViloApplication::TViloApplication() = default;

TViloApplication::~TViloApplication()
{
    // Reverse creation order; the editors close their tables last.
    delete Form9;
    delete Form8;
    delete Form7;
    delete Form6;
    delete Form5;
    delete Form4;
    delete Form3;
    delete FormEng;
    delete FormLanguage;
}

void TViloApplication::Configure()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Vilo"));
    QCoreApplication::setApplicationName(QStringLiteral("vilo"));
    // The program ends when its main window closes, even while that window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(ProgramFont());
    // Every window shows the program's icon, the one the desktop entry names. Title bars
    // and task switchers take 48 px; the larger renderings are installed for launchers,
    // which find them by the entry's icon name. Decoding a 256 px picture here cost a
    // twelfth of the start-up.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vilo-48.png")));
}

int TViloApplication::Run()
{
    TViloApplication vilo;
    try {
        vilo.CreateForms();
        vilo.WatchSessionEnd();
    } catch (...) {
        ShowStartupErrorBox(CurrentExceptionMessage());
        return 1;
    }
    vilo.InstallErrorBox();
    vilo.ShowMainWindow();
    return QApplication::exec();
}

void TViloApplication::InstallErrorBox()
{
    SetErrorHandler([](const QString& message) { ShowErrorBox(message, QApplication::activeWindow()); });
}

void TViloApplication::CreateForms()
{
    FormLanguage = new TFormLanguage();
    FormLanguage->move(16, 34);
    FormEng = new TFormEng();
    FormEng->move(154, 88);
    Form3 = new TForm3();
    Form3->move(15, 31);
    Form4 = new TForm4();
    Form5 = new TForm5();
    Form6 = new TForm6();
    Form7 = new TForm7();
    Form8 = new TForm8();
    Form9 = new TForm9();
    // The lookup lists bind to tables that exist only now.
    FormEng->BindTables(Form5->Tables());
    Form3->BindTables(Form4->Tables());
    Wire();
}

void TViloApplication::ShowMainWindow()
{
    ShowWindow(FormLanguage);
}

void TViloApplication::ShowWindow(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void TViloApplication::Wire()
{
    FormLanguage->OnEnglish = [this] {
        FormLanguage->hide();
        ShowWindow(FormEng);
    };
    FormLanguage->OnSwedish = [this] {
        FormLanguage->hide();
        ShowWindow(Form3);
    };
    FormLanguage->OnClose = [this] { EndProgram(); };

    FormEng->OnSwitchLanguage = [this] {
        ShowWindow(Form3);
        FormEng->hide();
    };
    Form3->OnSwitchLanguage = [this] {
        ShowWindow(FormEng);
        Form3->hide();
    };
    // Exit and the close button close the main window, which ends the program.
    FormEng->OnExit = [this] { FormLanguage->close(); };
    Form3->OnExit = [this] { FormLanguage->close(); };
    FormEng->OnEditDatabases = [this] { ShowWindow(Form5); };
    Form3->OnEditDatabases = [this] { ShowWindow(Form4); };

    FormEng->OnReport = [this] { ShowWindow(Form7); };
    Form3->OnReport = [this] { ShowWindow(Form9); };
    WireReport(Form6, FormEng, Form7, Form5->Tables());
    WireReport(Form8, Form3, Form9, Form4->Tables());
    // Closing the English preview brings the English window back, even after a switch.
    connect(Form6, &TReportForm::AfterPreview, this, [this] { ShowWindow(FormEng); });
}

void TViloApplication::WireReport(TReportForm* Report, TCalcWindow* Window, TDetailsDialog* Dialog,
                                  TTableSet* Tables)
{
    // OK presses the report's own hidden button, as a click from code.
    Dialog->SetReportAction([Report] { Report->Button1->click(); });
    Report->SetInputSource([Report, Window, Dialog] {
        TReportInput input;
        input.HasFloorStructure = Window->CheckBox1->isChecked();
        input.InsulationThicknessText = Window->Edit4->text();
        input.ConcreteThicknessText = Window->Edit5->text();
        input.Results = Report->ResultTextsFromBoxes(
            [Window](const QString& box) { return Window->findChild<QLineEdit*>(box)->text(); });
        input.Name = Dialog->Name();
        input.Project = Dialog->Project();
        input.ContactLines = Dialog->ContactLines();
        return input;
    });
    Report->SetTableSource(
        [Tables](int table, const QString& column) { return Tables->Table(table)->DisplayText(column); });
}

void TViloApplication::EndProgram()
{
    if (FEnding)
        return;
    FEnding = true;
    const bool written = Form4->EndPendingEdits() && Form5->EndPendingEdits();
    FEnding = false;
    if (!written)
        return;
    FEnded = true;
    QCoreApplication::quit();
}

void TViloApplication::WatchSessionEnd()
{
    auto* termination = new TTerminationSignal(this);
    connect(termination, &TTerminationSignal::Received, this, [this] { EndProgram(); });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (FEnding)
            return;
        FEnding = true;
        const bool interactive = manager.allowsInteraction();
        // Without interaction a refused row stays pending, and the other editor still writes.
        bool written = Form4->EndPendingEdits(interactive);
        if (written || !interactive)
            written = Form5->EndPendingEdits(interactive) && written;
        if (interactive) {
            manager.release();
            if (!written)
                manager.cancel();
        }
        FEnding = false;
    });
}

bool TViloApplication::Ended() const
{
    return FEnded;
}
