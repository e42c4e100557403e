// Item model over one TTable for a grid: no copy of the rows and no current row of
// its own; the table's signals become fine-grained model notifications.
#pragma once

#include <QAbstractTableModel>
#include <QString>

class TTable;

class TTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The current-row indicator for the vertical header (IndicatorRole).
    enum TIndicator { NoIndicator = 0, BrowseIndicator = 1, EditIndicator = 2, InsertIndicator = 3 };
    // Vertical header role giving a TIndicator as int.
    static constexpr int IndicatorRole = Qt::UserRole + 1;

    // A model showing Table (not owned).
    explicit TTableModel(TTable* Table, QObject* parent = nullptr);

    // The adapted table.
    TTable* Table() const;

    // Rows as the table shows them (a pending new row included); 0 under a parent.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Columns in the table's current order; 0 under a parent.
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // DisplayRole and EditRole: the cell's edit text; TextAlignmentRole: numbers right.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Horizontal: the column names. Vertical: the indicator of the current row
    // (DisplayRole a mark, IndicatorRole a TIndicator), nothing for other rows.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Editable only when the table can be changed.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // EditRole on a cell: makes its row current if needed, then SetFieldText. A failure
    // is emitted as ErrorOccurred (never thrown) and returns false.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // A column move from a view: one column, by TTable::MoveField; false otherwise.
    bool moveColumns(const QModelIndex& sourceParent, int sourceColumn, int count,
                     const QModelIndex& destinationParent, int destinationChild) override;

signals:
    // A change the table refused (the message for the error box).
    void ErrorOccurred(const QString& Message);

private:
    TTable* FTable;
};
