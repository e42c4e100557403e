#include "data/TTableModel.h"

#include "data/TTable.h"

#include <exception>

TTableModel::TTableModel(TTable* Table, QObject* parent) : QAbstractTableModel(parent), FTable(Table)
{
    connect(FTable, &TTable::RowsAboutToBeInserted, this, [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(FTable, &TTable::RowsInserted, this, [this](int, int) { endInsertRows(); });
    connect(FTable, &TTable::RowsAboutToBeRemoved, this, [this](int first, int last) { beginRemoveRows({}, first, last); });
    connect(FTable, &TTable::RowsRemoved, this, [this](int, int) { endRemoveRows(); });
    connect(FTable, &TTable::RowsChanged, this, [this](int first, int last) {
        if (columnCount() > 0)
            emit dataChanged(index(first, 0), index(last, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, first, last);
    });
    connect(FTable, &TTable::AboutToReset, this, [this] { beginResetModel(); });
    connect(FTable, &TTable::Reset, this, [this] { endResetModel(); });
    connect(FTable, &TTable::FieldAboutToMove, this, [this](int from, int to) {
        // Qt counts the destination before the move: one past the target when moving right.
        beginMoveColumns({}, from, from, {}, to > from ? to + 1 : to);
    });
    connect(FTable, &TTable::FieldMoved, this, [this](int, int) { endMoveColumns(); });
    connect(FTable, &TTable::CurrentRowChanged, this, [this](int previous, int current) {
        const int rows = rowCount();
        if (previous >= 0 && previous < rows)
            emit headerDataChanged(Qt::Vertical, previous, previous);
        if (current >= 0 && current < rows && current != previous)
            emit headerDataChanged(Qt::Vertical, current, current);
    });
    connect(FTable, &TTable::StateChanged, this, [this](TDataSetState) {
        const int current = FTable->RecNo();
        if (current >= 0 && current < rowCount())
            emit headerDataChanged(Qt::Vertical, current, current);
    });
}

TTable* TTableModel::Table() const
{
    return FTable;
}

int TTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FTable->RecordCount();
}

int TTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FTable->FieldCount();
}

QVariant TTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return FTable->CellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return FTable->FieldIsNumeric(index.column()) ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                                      : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant TTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole)
            return FTable->FieldName(section);
        return {};
    }
    TIndicator indicator = NoIndicator;
    if (section == FTable->RecNo() && section >= 0) {
        switch (FTable->State()) {
        case TDataSetState::Browse:
            indicator = BrowseIndicator;
            break;
        case TDataSetState::Edit:
            indicator = EditIndicator;
            break;
        case TDataSetState::Insert:
            indicator = InsertIndicator;
            break;
        }
    }
    if (role == IndicatorRole)
        return int(indicator);
    if (role == Qt::DisplayRole) {
        switch (indicator) {
        case BrowseIndicator:
            return QStringLiteral("\u25B6");
        case EditIndicator:
            return QStringLiteral("I");
        case InsertIndicator:
            return QStringLiteral("*");
        case NoIndicator:
            return QString();
        }
    }
    return {};
}

Qt::ItemFlags TTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (FTable->CanModify())
        result |= Qt::ItemIsEditable;
    return result;
}

bool TTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    // Qt does not let exceptions through its calls: a refusal travels as a signal.
    try {
        if (index.row() != FTable->RecNo())
            FTable->MoveTo(index.row());
        if (index.row() != FTable->RecNo())
            return false;
        FTable->SetFieldText(index.column(), value.toString());
        return true;
    } catch (const std::exception& error) {
        emit ErrorOccurred(QString::fromUtf8(error.what()));
        return false;
    }
}

bool TTableModel::moveColumns(const QModelIndex& sourceParent, int sourceColumn, int count,
                              const QModelIndex& destinationParent, int destinationChild)
{
    if (sourceParent.isValid() || destinationParent.isValid() || count != 1)
        return false;
    const int to = destinationChild > sourceColumn ? destinationChild - 1 : destinationChild;
    if (sourceColumn < 0 || sourceColumn >= columnCount() || to < 0 || to >= columnCount() || to == sourceColumn)
        return false;
    FTable->MoveField(sourceColumn, to);
    return true;
}
