// The report details dialog shared by both languages: name, project, contact text, OK.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <exception>
#include <functional>

class QCloseEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The captions that differ between the languages.
struct TDetailsTexts {
    QString NameCaption;
    QString ProjectCaption;
    QString ContactCaption;
};

class TDetailsDialog : public QWidget {
    Q_OBJECT
public:
    // A hidden top-level window with the fixed layout; the subclass sets its frame.
    TDetailsDialog(const TDetailsTexts& Texts, Qt::WindowFlags flags, QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* Edit1;       // name
    QLineEdit* Edit2;       // project
    QPlainTextEdit* Memo1;  // contact text, wrapped at word boundaries
    QPushButton* Button1;   // OK

    // OK: hides the dialog, then runs the report action; returns when that returns.
    // Errors of the action are thrown to the caller.
    void Button1Click();

    // What OK starts (the report of the same language); set by the application.
    void SetReportAction(std::function<void()> action);

    QString Name() const;
    QString Project() const;
    // The contact text's lines as the box shows them: wrapped lines split where the box
    // breaks them, no empty last line.
    QStringList ContactLines() const;

private:
    std::function<void()> FReportAction;
};
