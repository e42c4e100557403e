// The language chooser: the program's main window.
#pragma once

#include <QWidget>

#include <functional>

class QLabel;

class TFormLanguage : public QWidget {
    Q_OBJECT
public:
    explicit TFormLanguage(QWidget* parent = nullptr);

    // Wired by the application.
    std::function<void()> OnEnglish;  // Image1
    std::function<void()> OnSwedish;  // Image2
    std::function<void()> OnClose;    // the close button: the program ends

    void Image1Click();
    void Image2Click();

    QLabel *Image1, *Image2, *Label1, *Label2, *Label3;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
