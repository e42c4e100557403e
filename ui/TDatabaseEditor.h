// The database editor shared by both languages: owns the language's five tables,
// opened while the window is created, and shows each in a grid.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>

#include "data/TLanguage.h"

class QPushButton;
class TDBGrid;
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

    // Hides the window; tables, rows and pending changes stay as they are.
    void Button1Click();

    QPushButton* Button1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TTableSet* FTables;
    std::array<TDBGrid*, 5> FGrids{};
    bool FSizeable;
};
