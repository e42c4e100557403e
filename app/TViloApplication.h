// The application object: creates the windows in their fixed order, wires every
// transition between them, owns the error box and ends the program.
#pragma once

#include <QObject>
#include <QString>

class TFormEng;
class TFormLanguage;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TCalcWindow;
class TDetailsDialog;
class TReportForm;
class TTableSet;
class QWidget;
class QApplication;

class TViloApplication : public QObject {
    Q_OBJECT
public:
    TViloApplication();
    ~TViloApplication() override;

    // Names, font, window icon and quit rule of the program's QApplication.
    static void Configure();

    // The program once the QApplication exists: creates the windows, shows the main
    // window and runs the event loop. A start-up failure shows "Application Error"
    // and returns 1 before any window is shown.
    static int Run();

    // Installs the standard error box as the program's error handler.
    void InstallErrorBox();
    // Creates the windows in order, hidden; the first is the main window. Throws on
    // any failure (a table that cannot be opened), leaving no window shown.
    void CreateForms();
    // Shows the main window at its place.
    void ShowMainWindow();
    // Ends the program: every pending row of the editors is written first (the user
    // may go back on a refusal, and then nothing ends), the event loop stops, the windows go.
    void EndProgram();
    // SIGTERM ends the program as EndProgram does; a desktop logout writes every
    // pending row and is cancelled when the user goes back on a refusal.
    void WatchSessionEnd();
    // True once EndProgram has run.
    bool Ended() const;

    TFormLanguage* FormLanguage = nullptr;
    TFormEng* FormEng = nullptr;
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
    TForm5* Form5 = nullptr;
    TForm6* Form6 = nullptr;
    TForm7* Form7 = nullptr;
    TForm8* Form8 = nullptr;
    TForm9* Form9 = nullptr;

private:
    void Wire();
    // The report of one language reads its calculation window, dialog and tables.
    static void WireReport(TReportForm* Report, TCalcWindow* Window, TDetailsDialog* Dialog, TTableSet* Tables);
    static void ShowWindow(QWidget* window);

    bool FEnded = false;
    bool FEnding = false;  // pending rows are being written: a second request waits for it
};
