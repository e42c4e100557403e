// One reference table on its own SQLite connection: the rows in the file's order,
// one current row shared by every view, columns in a current order of their own,
// and the row states browse / edit / insert with post, cancel, delete and refresh.
#pragma once

#include <QFlags>
#include <QObject>
#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

enum class TDataSetState { Browse, Edit, Insert };

// How Locate compares: none = whole value with letter case; CaseInsensitive = full
// Unicode case folding; PartialKey = the value is a leading part of the cell.
enum class TLocateOption { CaseInsensitive = 0x1, PartialKey = 0x2 };
Q_DECLARE_FLAGS(TLocateOptions, TLocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLocateOptions)

class TTable : public QObject {
    Q_OBJECT
public:
    // A closed table; objectName is set by the owner ("Table1".."Table5").
    explicit TTable(QObject* parent = nullptr);
    ~TTable() override;

    // --- opening ---------------------------------------------------------------

    // Opens TableName in the directory of alias DatabaseName, read-write when the file
    // allows it, else read-only; the first row becomes current. Throws TDatabaseError
    // naming the file and directory (missing, unreadable, not a database, locked).
    void Open(const QString& DatabaseName, const QString& TableName);
    // Opens a file by its full path (the alias already resolved); same rules as Open.
    void OpenFile(const QString& FilePath);
    // Drops a pending row unposted and releases the file; a closed table is empty.
    void Close();
    // True between a successful Open and Close.
    bool Active() const;
    // The file name as opened ("City.db"); empty when closed.
    QString TableName() const;
    // The full path of the open file; empty when closed.
    QString FilePath() const;

    // --- columns (positions count the current order, from 0) --------------------

    // Number of columns.
    int FieldCount() const;
    // Column names in current order.
    QStringList FieldNames() const;
    // Name of the column at Position; empty when out of range.
    QString FieldName(int Position) const;
    // Current position of the column named FieldName (an exact match first, else one
    // ignoring letter case), -1 when none.
    int FieldIndex(const QString& FieldName) const;
    // True when the column at Position holds numbers (declared numeric type).
    bool FieldIsNumeric(int Position) const;
    // Moves the column at From to position To, renumbering the others; the file keeps
    // its order. Emits FieldAboutToMove, FieldMoved and LayoutChanged. Out of range: no-op.
    void MoveField(int From, int To);
    // Announces a change of column layout made by a view (a column width): LayoutChanged.
    void NotifyLayoutChanged();

    // --- rows and the current row --------------------------------------------------

    // Rows as views show them, a pending inserted row included.
    int RecordCount() const;
    // Index of the current row (0-based, a pending inserted row counted at its place);
    // -1 when the table is empty.
    int RecNo() const;
    // True when there is no row at all (and no pending inserted row).
    bool IsEmpty() const;
    // At the beginning: after opening, First, or a step back that found no earlier row;
    // always when empty.
    bool Bof() const;
    // At the end: after Last or a step forward that found no further row; always when empty.
    bool Eof() const;

    // Moves. Each first ends a pending row (posted when changed, dropped when not);
    // when the post is refused the error propagates and the current row stays.
    void First();
    void Prior();
    void Next();
    void Last();
    // Moves by Distance rows (negative: back); returns the rows actually moved.
    int MoveBy(int Distance);
    // Makes Row current (a grid click); nothing happens when Row is already current.
    void MoveTo(int Row);
    // Makes the first row whose FieldName cell matches Value current and returns true;
    // returns false and leaves the current row when none does. Throws TDatabaseError
    // for an unknown column.
    bool Locate(const QString& FieldName, const QString& Value, TLocateOptions Options = {});

    // --- cell texts ------------------------------------------------------------

    // Edit text of the current row's cell at Position; empty when the table is empty.
    // Throws TDatabaseError naming the table when Position is past the last column.
    QString FieldText(int Position) const;
    // Edit text of any row's cell (the pending values for the current row);
    // empty when Row or Position is out of range.
    QString CellText(int Row, int Position) const;
    // Display text of the current row's cell in column FieldName; empty for a missing
    // column or an empty table.
    QString DisplayText(const QString& FieldName) const;
    // Display texts of column FieldName for every row in table order (a lookup list).
    QStringList ColumnValues(const QString& FieldName) const;
    // Stores Text in the current row's cell at Position, not yet in the file. A browsing
    // row goes into Edit on the first change; an empty text stores NULL. Throws
    // TFieldError for a number column that cannot take Text (nothing changes) and
    // TDatabaseError when the table is read-only or Position is out of range. On an
    // empty table a new row is started, as Edit does.
    void SetFieldText(int Position, const QString& Text);

    // --- row states -------------------------------------------------------------

    // Browse, Edit (current row changed in memory) or Insert (a new row is current).
    TDataSetState State() const;
    // True when the pending row has changes not yet written.
    bool Modified() const;
    // False when the file could be opened only for reading.
    bool CanModify() const;
    // Puts the current row into Edit; on an empty table inserts a new row instead.
    void Edit();
    // Inserts a new empty row before the current row and makes it current (Insert).
    void Insert();
    // Appends a new empty row at the end and makes it current (Insert).
    void Append();
    // Writes the pending row to the file in its own committed transaction, returns to
    // Browse. An unchanged edited row writes nothing. When the engine refuses (row
    // changed or removed by another program, locked, read-only) throws TDatabaseError
    // and keeps the row pending with its changes.
    void Post();
    // Drops the pending changes (and a new row) and returns to Browse.
    void Cancel();
    // Removes the current row from the file at once (a new row is dropped instead); then
    // the following row is current, else the preceding one. Refused like Post.
    void Delete();
    // Ends a pending row as a move does, then re-reads columns and rows from the file,
    // keeping the current row where it can (same row, else same index).
    void Refresh();

signals:
    // Every move operation, also one that stays on the same row (flags may change).
    void CurrentRowChanged(int PreviousRow, int CurrentRow);
    // Rows First..Last are about to appear / have appeared (Insert, Append).
    void RowsAboutToBeInserted(int First, int Last);
    void RowsInserted(int First, int Last);
    // Rows First..Last are about to go / have gone (Delete, Cancel of a new row).
    void RowsAboutToBeRemoved(int First, int Last);
    void RowsRemoved(int First, int Last);
    // Contents of rows First..Last changed (a cell set, a post, a cancel of an edit).
    void RowsChanged(int First, int Last);
    // All rows and columns are about to be / have been read anew (Open, Refresh, Close).
    void AboutToReset();
    void Reset();
    // The row state changed (Browse, Edit, Insert).
    void StateChanged(TDataSetState State);
    // Column From is about to move / has moved to position To.
    void FieldAboutToMove(int From, int To);
    void FieldMoved(int From, int To);
    // The column layout changed (a move or a width change in a view).
    void LayoutChanged();

private:
    struct TRow {
        qint64 RowId = 0;         // 0 for a row not yet stored
        QVector<QVariant> Values; // in the file's column order
        bool Lost = false;        // not found again after another program renumbered the rows
    };

    void RequireActive() const;
    void RequireModifiable() const;
    [[noreturn]] void Fail(const QString& what) const;
    QString WriteAction() const;
    QString DeleteAction() const;
    QString CellTextOf(const QVariant& value) const;
    void ReadSchemaAndRows(QStringList& names, QVector<bool>& numeric, QVector<TRow>& rows, qint64& generation);
    void ReleaseConnection();
    void CheckBrowseMode();
    void SetCurrent(int row, bool bof, bool eof);
    void SetState(TDataSetState state);
    void BeginInsert(int row, bool atEnd);
    void RemovePendingRow();
    QSqlQuery Exec(const QString& sql, const QVector<QVariant>& values, const QString& action);
    void Rollback();
    void MakeWritesDurable();
    QVector<QVariant> ReadStoredRow(qint64 rowId, bool& found);
    void CheckUnchanged(const TRow& row, const QVector<QVariant>& expected, bool deleting);
    qint64 RowIdForInsertAt(int row, QHash<qint64, qint64>& renumbered);
    void Renumber(QHash<qint64, qint64>& renumbered);
    void FollowRenumbering();
    QString QuotedTable() const;
    QString QuotedColumn(int column) const;

    QString FConnectionName;
    QString FTableName;
    QString FFilePath;
    QString FSqlTableName;
    bool FActive = false;
    bool FCanModify = false;
    bool FSynchronousSet = false;
    qint64 FGeneration = 0;          // the file's renumbering count when its rows were read
    QStringList FColumnNames;        // file order
    QVector<bool> FColumnNumeric;    // file order
    QVector<int> FOrder;             // position -> file column
    QVector<TRow> FRows;
    int FCurrent = -1;
    bool FBof = true;
    bool FEof = true;
    TDataSetState FState = TDataSetState::Browse;
    bool FModified = false;
    QVector<QVariant> FEditOriginal; // values as read, for the other-program check
    int FRowBeforeInsert = -1;       // current row to return to when a new row is dropped
};
