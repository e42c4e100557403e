// Shared by the editor tests: a private table home with the default tables, every
// modal box answered and recorded, the error box as the program shows it, a plain
// second connection to see what reached a file, and typing as a user types.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTest>

#include "data/DataFixture.h"
#include "data/TErrorGuard.h"
#include "data/TTable.h"
#include "data/TTableModel.h"
#include "data/TTableSet.h"
#include "support/ViloTestSupport.h"
#include "ui/TDBGrid.h"
#include "ui/TDBNavigator.h"
#include "ui/TDatabaseEditor.h"

namespace EditorTest {

// The standard error box as the application shows it, so that its modality and the
// focus it takes are real.
inline void ShowErrorBox(const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vilo"), ErrorBoxText(message), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

class TEnvironment {
public:
    TEnvironment() : FPrevious(SetErrorHandler(&ShowErrorBox)) { ViloTest::UseProgramFont(); }
    ~TEnvironment() { SetErrorHandler(FPrevious); }
    TEnvironment(const TEnvironment&) = delete;
    TEnvironment& operator=(const TEnvironment&) = delete;

    ViloTest::TTestHome Home;
    ViloTest::TBoxAnswerer Boxes;

private:
    TErrorHandler FPrevious;
};

// The boxes seen until Count have appeared (or a few seconds passed): some boxes
// come from a handler the toolkit runs after the event that caused them.
inline QList<ViloTest::TBoxSeen> WaitForBoxes(ViloTest::TBoxAnswerer& boxes, int count)
{
    QList<ViloTest::TBoxSeen> seen;
    QElapsedTimer clock;
    clock.start();
    while (seen.size() < count && clock.elapsed() < 5000) {
        seen += boxes.Take();
        if (seen.size() < count)
            QTest::qWait(10);
    }
    QTest::qWait(20);  // and no more than that
    seen += boxes.Take();
    return seen;
}

// Every stored row of the one table in File, in the file's order, each cell as text
// ("" for NULL), read through a connection of its own.
inline QList<QStringList> StoredRows(const QString& path)
{
    Fixture::TPlainConnection db(path);
    const QList<QVariantList> names = db.Rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    QList<QStringList> rows;
    if (names.size() != 1)
        return rows;
    for (const QVariantList& row : db.Rows(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(names[0][0].toString()))) {
        QStringList cells;
        for (const QVariant& value : row)
            cells << (value.isNull() ? QString() : value.toString());
        rows << cells;
    }
    return rows;
}

// The first cells of the stored rows.
inline QStringList StoredNames(const QString& path)
{
    QStringList names;
    for (const QStringList& row : StoredRows(path))
        names << row.value(0);
    return names;
}

// Runs one statement on File through a connection of its own (another program).
inline bool ExecOther(const QString& path, const QString& sql)
{
    Fixture::TPlainConnection db(path);
    return db.Exec(sql);
}

// Keys go where a user's keys go: to the open cell editor, else to the grid.
inline QWidget* KeyTarget(TDBGrid* grid)
{
    return grid->CellEditor() ? static_cast<QWidget*>(grid->CellEditor()) : grid;
}

inline void Key(TDBGrid* grid, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(KeyTarget(grid), key, modifiers);
}

inline void Type(TDBGrid* grid, const QString& text)
{
    for (const QChar c : text)
        QTest::keyClicks(KeyTarget(grid), QString(c));
}

// Shows Window and waits until it is the active window with its focus.
inline bool ShowActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// The centre of a cell, for clicks.
inline QPoint CellCentre(TDBGrid* grid, int row, int column)
{
    return grid->visualRect(grid->model()->index(row, column)).center();
}

inline void ClickCell(TDBGrid* grid, int row, int column)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(grid, row, column));
}

// Which of the ten buttons are enabled, as a string of 0 and 1 in bar order.
inline QString EnabledButtons(const TDBNavigator* navigator)
{
    QString marks;
    for (int i = 0; i < TDBNavigator::ButtonCount; ++i)
        marks += navigator->Button(TDBNavigator::TButton(i))->isEnabled() ? u'1' : u'0';
    return marks;
}

inline void Press(TDBNavigator* navigator, TDBNavigator::TButton button)
{
    QTest::mouseClick(navigator->Button(button), Qt::LeftButton);
}

}  // namespace EditorTest
