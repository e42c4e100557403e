#include "ui/TDBGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include "data/TDataSource.h"
#include "data/TErrorGuard.h"
#include "data/TTable.h"
#include "data/TTableModel.h"

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(false);
    setShowGrid(true);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(14);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, &TDBGrid::OnSectionMoved);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        if (Table())
            Guarded([this] { Table()->NotifyLayoutChanged(); });
    });
}

void TDBGrid::SetDataSource(TDataSource* Source)
{
    FSource = Source;
    delete FModel;
    FModel = new TTableModel(Source->DataSet(), this);
    setModel(FModel);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &TDBGrid::OnCurrentChanged);
    connect(FModel, &TTableModel::ErrorOccurred, this, [](const QString& message) { ReportError(message); });
    TTable* table = Source->DataSet();
    connect(table, &TTable::CurrentRowChanged, this, &TDBGrid::FollowCurrentRow);
    connect(table, &TTable::Reset, this, &TDBGrid::FollowCurrentRow);
    connect(table, &TTable::RowsInserted, this, &TDBGrid::FollowCurrentRow);
    connect(table, &TTable::RowsRemoved, this, &TDBGrid::FollowCurrentRow);
    FollowCurrentRow();
}

TTable* TDBGrid::Table() const
{
    return FSource ? FSource->DataSet() : nullptr;
}

TTableModel* TDBGrid::TableModel() const
{
    return FModel;
}

void TDBGrid::FollowCurrentRow()
{
    TTable* table = Table();
    if (!table || FSyncing)
        return;
    const int row = table->RecNo();
    const QModelIndex current = currentIndex();
    if (row < 0) {
        FSyncing = true;
        selectionModel()->clearCurrentIndex();
        FSyncing = false;
        return;
    }
    if (current.isValid() && current.row() == row)
        return;
    const int column = current.isValid() ? current.column() : 0;
    FSyncing = true;
    // The highlight follows moves made anywhere, also while the window is hidden.
    selectionModel()->setCurrentIndex(FModel->index(row, column), QItemSelectionModel::ClearAndSelect);
    FSyncing = false;
    scrollTo(FModel->index(row, column));
}

void TDBGrid::OnCurrentChanged(const QModelIndex& Current, const QModelIndex&)
{
    if (FSyncing || !Current.isValid() || !Table())
        return;
    if (Current.row() == Table()->RecNo())
        return;
    FSyncing = true;
    const bool moved = Guarded([&] { Table()->MoveTo(Current.row()); });
    FSyncing = false;
    if (!moved)
        FollowCurrentRow();  // a refused post keeps the row where it was
}

void TDBGrid::OnSectionMoved(int, int OldVisualIndex, int NewVisualIndex)
{
    // The table owns the column order: undo the header's own move, move the
    // table's column and show the table's order again.
    QHeaderView* header = horizontalHeader();
    header->blockSignals(true);
    header->moveSection(NewVisualIndex, OldVisualIndex);
    header->blockSignals(false);
    Guarded([&] { Table()->MoveField(OldVisualIndex, NewVisualIndex); });
}
