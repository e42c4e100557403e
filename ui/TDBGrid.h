// A grid over one table: shows every column in the table's current order, keeps its
// highlight on the table's current row, and turns a column drag into a column move.
#pragma once

#include <QPointer>
#include <QTableView>

class TDataSource;
class TTable;
class TTableModel;

class TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);

    // Binds the grid to Source's table.
    void SetDataSource(TDataSource* Source);
    TTable* Table() const;
    TTableModel* TableModel() const;

private:
    void FollowCurrentRow();
    void OnSectionMoved(int LogicalIndex, int OldVisualIndex, int NewVisualIndex);
    void OnCurrentChanged(const QModelIndex& Current, const QModelIndex& Previous);

    QPointer<TDataSource> FSource;
    TTableModel* FModel = nullptr;
    bool FSyncing = false;
};
