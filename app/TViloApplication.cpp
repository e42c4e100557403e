#include "app/TViloApplication.h"

#include <QApplication>

#include "data/TErrorGuard.h"
#include "ui/ProgramFont.h"
#include "ui/TErrorBox.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"

TViloApplication::TViloApplication() = default;

TViloApplication::~TViloApplication()
{
    // Reverse creation order; the editors close their tables last.
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
}

int TViloApplication::Run()
{
    TViloApplication vilo;
    try {
        vilo.CreateForms();
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
}

void TViloApplication::EndProgram()
{
    FEnded = true;
    QCoreApplication::quit();
}

bool TViloApplication::Ended() const
{
    return FEnded;
}
