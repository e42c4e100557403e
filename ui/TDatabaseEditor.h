// The database editor shared by both languages: owns the language's five tables,
// opened while the window is created, and shows each in a grid under a navigator.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

#include "data/TLanguage.h"

class QPushButton;
class TDBGrid;
class TDBNavigator;
class TTable;
class TTableSet;

struct TDatabaseEditorLayout {
    QString Caption;
    QString ButtonCaption;
    bool Sizeable = false;  // else a fixed dialog frame without title-bar buttons
    QPoint Position;
    QSize ClientSize;
    std::array<QRect, 5> Grids;
    std::array<QRect, 5> Navigators;
    QRect Button;
    // Tab positions 0..10 of DBGrid1..5, DBNavigator1..5 and Button1.
    std::array<int, 5> GridTabs;
    std::array<int, 5> NavigatorTabs;
    // The question when a change cannot be saved as the program ends: %1 the reason,
    // %2 the table's file name; and the captions of its two answers.
    QString UnsavedQuestion;
    QString GoBackCaption;
    QString DiscardCaption;
};

class TDatabaseEditor : public QWidget {
    Q_OBJECT
public:
    // Builds the window hidden and opens the five tables of Language; a table that
    // cannot be opened throws TDatabaseError.
    TDatabaseEditor(TLanguage Language, const TDatabaseEditorLayout& Layout, QWidget* parent = nullptr);
    ~TDatabaseEditor() override;

    // The five tables and their data sources.
    TTableSet* Tables() const;
    // Grid Number (1..5).
    TDBGrid* Grid(int Number) const;
    // Navigator Number (1..5).
    TDBNavigator* Navigator(int Number) const;

    // Hides the window; tables, rows and pending changes stay as they are.
    void Button1Click();

    // Ends every pending row of the five tables before the program ends: an open
    // cell's typed text is stored first, a new row never changed is dropped, the rest
    // is posted. Each refusal is shown and the user either goes back (the window shows
    // the row, the change stays pending; returns false) or discards that change. With
    // Interactive false nothing is asked: a refused change stays pending and the
    // result is false.
    bool EndPendingEdits(bool Interactive = true);

    QPushButton* Button1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class TRefusalAnswer { GoBack, Discard };
    enum class TEndStep { Done, Refused, GoBack };
    // Runs Write; a refusal is asked about (when Interactive) and Discard runs on the
    // user's word.
    TEndStep EndStep(const TTable* Table, bool Interactive, const std::function<void()>& Write,
                     const std::function<void()>& Discard);
    TRefusalAnswer AskAboutRefusal(const QString& Message, const TTable* Table);
    void GoBackTo(TDBGrid* Grid);

    TTableSet* FTables;
    std::array<TDBGrid*, 5> FGrids{};
    std::array<TDBNavigator*, 5> FNavigators{};
    TDatabaseEditorLayout FLayout;
};
