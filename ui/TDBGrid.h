// A grid over one table: every column in the table's current order under a title
// row, an indicator column marking the current row and its state, in-place editing
// of cells, and the keys of a data grid. The grid keeps no row of its own: its
// highlight follows the table's current row wherever the row was moved.
#pragma once

#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QTableView>

class QLineEdit;
class TDataSource;
class TTable;
class TTableModel;

class TDBGrid : public QTableView {
    Q_OBJECT
public:
    // An unbound grid.
    explicit TDBGrid(QWidget* parent = nullptr);

    // Binds the grid to Source's table.
    void SetDataSource(TDataSource* Source);
    // The bound table, or null.
    TTable* Table() const;
    // The item model over the table.
    TTableModel* TableModel();

    // Position (in the table's current order) of the selected column.
    int SelectedIndex() const;
    // Selects the column at Position in the current row.
    void SetSelectedIndex(int Position);
    // True while a cell editor is open.
    bool Editing() const;
    // The open cell editor, or null.
    QLineEdit* CellEditor() const;
    // Opens the editor on the selected cell of the current row (a new row in an empty
    // table); nothing when the table cannot be changed.
    void ShowEditor();
    // Stores the open editor's typed text in the row (not yet in the file); the editor
    // stays open. Throws TFieldError when the column cannot take the text, which the
    // editor keeps.
    void StoreEditorText();
    // Closes the open editor; typed text that was not stored is dropped.
    void HideEditor();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    // The grid stores editor texts itself (StoreEditorText), never through the model.
    void commitData(QWidget* editor) override;

private:
    friend class TDBGridDelegate;

    // Called by the delegate.
    void EditorCreated(QLineEdit* Editor, const QModelIndex& Index);
    bool EditorEvent(QLineEdit* Editor, QEvent* Event);

    bool HandleKey(QKeyEvent* Event, bool InEditor);
    bool StoreEditorReporting();
    void FocusLeft(QFocusEvent* Event);
    void PriorRow();
    void NextRow(bool Appending);
    void MoveByPage(int Direction);
    void TabToCell(bool Forward);
    void GoToRow(int Row);
    void EscapeKey(bool InEditor);
    void ConfirmAndDelete();
    int PageRows() const;
    void FollowCurrentRow();
    void OnSectionMoved(int LogicalIndex, int OldVisualIndex, int NewVisualIndex);
    void OnSectionResized(int LogicalIndex, int OldSize, int NewSize);
    void FitColumns();
    // Makes the model and shows the table (once; on first show or first need).
    void Bind();

    QPointer<TDataSource> FSource;
    TTableModel* FModel = nullptr;
    QPointer<QLineEdit> FEditor;
    QPersistentModelIndex FEditorIndex;
    int FColumn = 0;               // selected column while the table has no row
    int FModelChanging = 0;        // inside a reset, insert, remove or column move
    bool FSyncing = false;         // the grid itself is moving its highlight
    bool FStoring = false;
    bool FFittingColumns = false;
    bool FFocusByClick = false;    // the focus came with the mouse press being handled
    bool FSwallowPress = false;    // a refused text kept the focus: the press that moved it is not made
    QHash<QString, int> FWidths;   // column widths the user set, by column name
};
