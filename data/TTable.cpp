#include "data/TTable.h"

#include "data/NumberText.h"
#include "data/TAlias.h"
#include "data/TDatabaseError.h"
#include "data/TFieldError.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <limits>
#include <sqlite3.h>
#include <unistd.h>

namespace {

// Long enough to ride out another program's short write, short enough to answer.
constexpr int kBusyTimeoutMs = 3000;
// Rows are stored this far apart in rowid, so that inserted rows fit between them.
constexpr qint64 kRowIdSpacing = 1024;

int gConnectionCounter = 0;

// SQLite's column affinity rules: a declared type holding INT, REAL, FLOA, DOUB,
// NUMERIC or anything unlisted stores numbers; CHAR, CLOB, TEXT, BLOB or none do not.
bool IsNumericDeclaration(const QString& declared)
{
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("INT")))
        return true;
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) || type.contains(QLatin1String("TEXT")))
        return false;
    if (type.isEmpty() || type.contains(QLatin1String("BLOB")))
        return false;
    return true;
}

bool SameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a.typeId() == b.typeId() && a == b;
}

bool SameValues(const QVector<QVariant>& a, const QVector<QVariant>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (!SameValue(a[i], b[i]))
            return false;
    return true;
}

bool IsLockError(const QSqlError& error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 5 || code == 6 || error.databaseText().contains(QLatin1String("locked"));
}

bool IsReadOnlyError(const QSqlError& error)
{
    return (error.nativeErrorCode().toInt() & 0xff) == 8 || error.databaseText().contains(QLatin1String("readonly"));
}

QString ErrorText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

// Full Unicode case folding as far as Qt offers it: simple folding misses "ß" = "ss",
// the upper-case special mappings supply the multi-character folds.
QString Folded(const QString& text)
{
    return text.normalized(QString::NormalizationForm_C).toCaseFolded().toUpper().toCaseFolded();
}

QString QuotedName(const QString& name)
{
    QString copy = name;
    return u'"' + copy.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The connection's own SQLite handle; the driver hands it out for work like this.
sqlite3* NativeHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

// A stored value as the driver would give it: integers as qint64, reals as double,
// texts as QString, blobs as QByteArray, NULL as a null QString.
QVariant StoredValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_NULL:
        return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB: {
        const int bytes = sqlite3_column_bytes(statement, column);
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, column)), bytes);
    }
    default: {
        const auto* text = static_cast<const QChar*>(sqlite3_column_text16(statement, column));
        return QString(text, sqlite3_column_bytes16(statement, column) / int(sizeof(QChar)));
    }
    }
}

}  // namespace

TTable::TTable(QObject* parent) : QObject(parent) {}

TTable::~TTable()
{
    ReleaseConnection();
}

// --- opening -------------------------------------------------------------------

void TTable::Open(const QString& DatabaseName, const QString& TableName)
{
    const QString directory = TAlias::Directory(DatabaseName);
    OpenFile(QDir(directory).filePath(TableName));
}

void TTable::OpenFile(const QString& FilePath)
{
    if (FActive)
        Close();
    const QFileInfo info(FilePath);
    const QString name = info.fileName();
    const QString directory = info.absolutePath();
    const QString path = info.absoluteFilePath();

    // Qt's driver creates a missing file silently: a missing table must stay an error.
    if (!info.exists()) {
        if (!QFileInfo(directory).isDir())
            throw TDatabaseError(QStringLiteral("Cannot open table '%1': the directory '%2' does not exist").arg(name, directory));
        throw TDatabaseError(QStringLiteral("Cannot open table '%1': there is no such file in the directory '%2'").arg(name, directory));
    }
    if (info.isDir())
        throw TDatabaseError(QStringLiteral("Cannot open table '%1' in the directory '%2': it is a directory, not a table file").arg(name, directory));
    const QByteArray nativePath = QFile::encodeName(path);
    if (::access(nativePath.constData(), R_OK) != 0) {
        throw TDatabaseError(QStringLiteral("Cannot open table '%1' in the directory '%2': the file cannot be read (%3)")
                                 .arg(name, directory, QString::fromLocal8Bit(std::strerror(errno))));
    }
    // A write also needs the journal beside the file.
    const bool writable = ::access(nativePath.constData(), W_OK) == 0 && ::access(QFile::encodeName(directory).constData(), W_OK) == 0;

    FConnectionName = QStringLiteral("vilo-table-%1").arg(++gConnectionCounter);
    FTableName = name;
    FFilePath = path;
    FCanModify = writable;
    FSynchronousSet = false;
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FConnectionName);
        // mode=rw/ro: the engine itself refuses to create a file that vanished meanwhile.
        db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                           (writable ? QStringLiteral("?mode=rw") : QStringLiteral("?mode=ro")));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1%2")
                                 .arg(kBusyTimeoutMs)
                                 .arg(writable ? QString() : QStringLiteral(";QSQLITE_OPEN_READONLY")));
        if (!db.open())
            throw TDatabaseError(QStringLiteral("Cannot open table '%1' in the directory '%2': %3").arg(name, directory, ErrorText(db.lastError())));

        QStringList names;
        QVector<bool> numeric;
        QVector<TRow> rows;
        qint64 generation = 0;
        ReadSchemaAndRows(names, numeric, rows, generation);
        emit AboutToReset();
        FGeneration = generation;
        FColumnNames = names;
        FColumnNumeric = numeric;
        FOrder.clear();
        for (int i = 0; i < names.size(); ++i)
            FOrder << i;
        FRows = rows;
        FActive = true;
        FState = TDataSetState::Browse;
        FModified = false;
        FCurrent = FRows.isEmpty() ? -1 : 0;
        FBof = true;
        FEof = FRows.isEmpty();
        emit Reset();
    } catch (...) {
        ReleaseConnection();
        FTableName.clear();
        FFilePath.clear();
        FCanModify = false;
        throw;
    }
    emit StateChanged(FState);
    emit CurrentRowChanged(-1, FCurrent);
}

// Native statements read names, declared types and rows in one read transaction: one
// consistent snapshot, and SQLite's own interface saves the driver's per-row work
// (opening the tables is part of every start-up).
void TTable::ReadSchemaAndRows(QStringList& names, QVector<bool>& numeric, QVector<TRow>& rows, qint64& generation)
{
    const QString directory = QFileInfo(FFilePath).absolutePath();
    sqlite3* const handle = NativeHandle(QSqlDatabase::database(FConnectionName, false));
    if (!handle)
        throw TDatabaseError(QStringLiteral("Cannot open table '%1' in the directory '%2': the database driver is not SQLite").arg(FTableName, directory));
    // A file of random bytes opens without complaint; the first statement tells.
    auto openFailure = [&](int code) -> TDatabaseError {
        const int primary = code & 0xff;
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            return TDatabaseError(QStringLiteral("Cannot open table '%1' in the directory '%2': the file is locked by another program")
                                      .arg(FTableName, directory));
        return TDatabaseError(QStringLiteral("Cannot open table '%1' in the directory '%2': the file is not a readable table (%3)")
                                  .arg(FTableName, directory, QString::fromUtf8(sqlite3_errmsg(handle))));
    };
    struct TStatement {
        sqlite3_stmt* Handle = nullptr;
        ~TStatement() { sqlite3_finalize(Handle); }
    };
    const auto prepare = [&](TStatement& statement, const QString& sql) {
        const QByteArray text = sql.toUtf8();
        return sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &statement.Handle, nullptr);
    };
    const auto selectAll = [](const QString& table) {
        return QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(QuotedName(table));
    };
    // Declared before the statements, so that they are finalized before it ends.
    struct TReadTransaction {
        sqlite3* Handle;
        ~TReadTransaction()
        {
            if (!sqlite3_get_autocommit(Handle))
                sqlite3_exec(Handle, "COMMIT", nullptr, nullptr, nullptr);
        }
    } transaction{handle};
    if (const int begun = sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr); begun != SQLITE_OK)
        throw openFailure(begun);

    // The table named after the file is the usual case.
    const QString wanted = FTableName.section(u'.', 0, 0);
    QString table = wanted;
    TStatement select;
    int code = prepare(select, selectAll(wanted));
    if (code != SQLITE_OK && (code & 0xff) == SQLITE_ERROR && sqlite3_extended_errcode(handle) == SQLITE_ERROR) {
        // Otherwise the file's only table, or the one whose name differs only in case.
        QStringList tables;
        {
            TStatement list;
            code = prepare(list, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"));
            if (code != SQLITE_OK)
                throw openFailure(code);
            while ((code = sqlite3_step(list.Handle)) == SQLITE_ROW)
                tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(list.Handle, 0)));
            if (code != SQLITE_DONE)
                throw openFailure(code);
        }
        table.clear();
        if (tables.size() == 1) {
            table = tables.first();
        } else {
            for (const QString& candidate : tables)
                if (candidate.compare(wanted, Qt::CaseInsensitive) == 0)
                    table = candidate;
        }
        if (table.isEmpty()) {
            throw TDatabaseError(tables.isEmpty()
                                     ? QStringLiteral("Cannot open table '%1' in the directory '%2': the file holds no table").arg(FTableName, directory)
                                     : QStringLiteral("Cannot open table '%1' in the directory '%2': the file holds several tables and none is named '%3'")
                                           .arg(FTableName, directory, wanted));
        }
        code = prepare(select, selectAll(table));
    }
    if (code != SQLITE_OK)
        throw openFailure(code);
    FSqlTableName = table;
    {
        // Bumped by every renumbering of the rows, in the same transaction.
        TStatement version;
        if ((code = prepare(version, QStringLiteral("PRAGMA user_version"))) != SQLITE_OK)
            throw openFailure(code);
        if ((code = sqlite3_step(version.Handle)) != SQLITE_ROW)
            throw openFailure(code);
        generation = sqlite3_column_int64(version.Handle, 0);
    }

    names.clear();
    numeric.clear();
    const int columns = sqlite3_column_count(select.Handle) - 1;
    for (int i = 1; i <= columns; ++i) {
        names << QString::fromUtf8(sqlite3_column_name(select.Handle, i));
        const char* declared = sqlite3_column_decltype(select.Handle, i);
        numeric << IsNumericDeclaration(declared ? QString::fromUtf8(declared) : QString());
    }
    rows.clear();
    while ((code = sqlite3_step(select.Handle)) == SQLITE_ROW) {
        TRow row;
        row.RowId = sqlite3_column_int64(select.Handle, 0);
        row.Values.reserve(columns);
        for (int i = 1; i <= columns; ++i)
            row.Values << StoredValue(select.Handle, i);
        rows << row;
    }
    if (code != SQLITE_DONE)
        throw openFailure(code);
}

void TTable::ReleaseConnection()
{
    if (FConnectionName.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(FConnectionName);
    FConnectionName.clear();
}

void TTable::Close()
{
    if (!FActive)
        return;
    emit AboutToReset();
    FActive = false;
    FRows.clear();
    FColumnNames.clear();
    FColumnNumeric.clear();
    FOrder.clear();
    FCurrent = -1;
    FBof = FEof = true;
    FState = TDataSetState::Browse;
    FModified = false;
    FCanModify = false;
    ReleaseConnection();
    FTableName.clear();
    FFilePath.clear();
    emit Reset();
    emit StateChanged(FState);
}

bool TTable::Active() const
{
    return FActive;
}

QString TTable::TableName() const
{
    return FTableName;
}

QString TTable::FilePath() const
{
    return FFilePath;
}

// --- columns -------------------------------------------------------------------

int TTable::FieldCount() const
{
    return FOrder.size();
}

QStringList TTable::FieldNames() const
{
    QStringList names;
    for (int column : FOrder)
        names << FColumnNames[column];
    return names;
}

QString TTable::FieldName(int Position) const
{
    return Position >= 0 && Position < FOrder.size() ? FColumnNames[FOrder[Position]] : QString();
}

int TTable::FieldIndex(const QString& FieldName) const
{
    for (int p = 0; p < FOrder.size(); ++p)
        if (FColumnNames[FOrder[p]] == FieldName)
            return p;
    for (int p = 0; p < FOrder.size(); ++p)
        if (FColumnNames[FOrder[p]].compare(FieldName, Qt::CaseInsensitive) == 0)
            return p;
    return -1;
}

bool TTable::FieldIsNumeric(int Position) const
{
    return Position >= 0 && Position < FOrder.size() && FColumnNumeric[FOrder[Position]];
}

void TTable::MoveField(int From, int To)
{
    if (From < 0 || From >= FOrder.size() || To < 0 || To >= FOrder.size() || From == To)
        return;
    emit FieldAboutToMove(From, To);
    FOrder.move(From, To);
    emit FieldMoved(From, To);
    emit LayoutChanged();
}

void TTable::NotifyLayoutChanged()
{
    emit LayoutChanged();
}

// --- rows and the current row ------------------------------------------------------

int TTable::RecordCount() const
{
    return FRows.size();
}

int TTable::RecNo() const
{
    return FCurrent;
}

bool TTable::IsEmpty() const
{
    return FRows.isEmpty();
}

bool TTable::Bof() const
{
    return FRows.isEmpty() || FBof;
}

bool TTable::Eof() const
{
    return FRows.isEmpty() || FEof;
}

void TTable::SetCurrent(int row, bool bof, bool eof)
{
    const int previous = FCurrent;
    FCurrent = row;
    FBof = bof;
    FEof = eof;
    emit CurrentRowChanged(previous, row);
}

void TTable::First()
{
    RequireActive();
    CheckBrowseMode();
    SetCurrent(FRows.isEmpty() ? -1 : 0, true, FRows.isEmpty());
}

void TTable::Last()
{
    RequireActive();
    CheckBrowseMode();
    SetCurrent(FRows.size() - 1, FRows.isEmpty(), true);
}

void TTable::Prior()
{
    MoveBy(-1);
}

void TTable::Next()
{
    MoveBy(1);
}

int TTable::MoveBy(int Distance)
{
    RequireActive();
    CheckBrowseMode();
    if (FRows.isEmpty()) {
        SetCurrent(-1, true, true);
        return 0;
    }
    int target = FCurrent;
    bool bof = FBof;
    bool eof = FEof;
    // A step in a direction where the table already stands at its edge changes nothing.
    if ((Distance > 0 && !FEof) || (Distance < 0 && !FBof)) {
        bof = eof = false;
        target = FCurrent + Distance;
        if (target > FRows.size() - 1) {
            target = FRows.size() - 1;
            eof = true;
        }
        if (target < 0) {
            target = 0;
            bof = true;
        }
    }
    const int moved = target - FCurrent;
    SetCurrent(target, bof, eof);
    return moved;
}

void TTable::MoveTo(int Row)
{
    RequireActive();
    if (Row == FCurrent || Row < 0 || Row >= FRows.size())
        return;
    const int dropped = FState == TDataSetState::Insert && !FModified ? FCurrent : -1;
    CheckBrowseMode();
    if (dropped >= 0 && Row > dropped)
        --Row;
    SetCurrent(Row, false, false);
}

bool TTable::Locate(const QString& FieldName, const QString& Value, TLocateOptions Options)
{
    RequireActive();
    const int position = FieldIndex(FieldName);
    if (position < 0)
        Fail(QStringLiteral("Table '%1': field '%2' not found").arg(FTableName, FieldName));
    CheckBrowseMode();
    const bool noCase = Options.testFlag(TLocateOption::CaseInsensitive);
    const bool partial = Options.testFlag(TLocateOption::PartialKey);
    const QString wanted = noCase ? Folded(Value) : Value;
    for (int row = 0; row < FRows.size(); ++row) {
        QString cell = CellText(row, position);
        if (noCase)
            cell = Folded(cell);
        if (partial ? cell.startsWith(wanted) : cell == wanted) {
            SetCurrent(row, false, false);
            return true;
        }
    }
    return false;
}

// --- cell texts ----------------------------------------------------------------

QString TTable::CellTextOf(const QVariant& value) const
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return FormatNumberText(value.toDouble());
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::ULongLong:
    case QMetaType::UInt:
        return value.toString();
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

QString TTable::FieldText(int Position) const
{
    RequireActive();
    if (Position < 0 || Position >= FOrder.size()) {
        Fail(QStringLiteral("Table '%1' has no column at position %2 (its columns are at positions 0 to %3)")
                 .arg(FTableName)
                 .arg(Position)
                 .arg(FOrder.size() - 1));
    }
    return FCurrent < 0 ? QString() : CellText(FCurrent, Position);
}

QString TTable::CellText(int Row, int Position) const
{
    if (Row < 0 || Row >= FRows.size() || Position < 0 || Position >= FOrder.size())
        return QString();
    const QVector<QVariant>& values = FRows[Row].Values;
    const int column = FOrder[Position];
    return column < values.size() ? CellTextOf(values[column]) : QString();
}

QString TTable::DisplayText(const QString& FieldName) const
{
    const int position = FieldIndex(FieldName);
    return position < 0 || FCurrent < 0 ? QString() : CellText(FCurrent, position);
}

QStringList TTable::ColumnValues(const QString& FieldName) const
{
    QStringList values;
    const int position = FieldIndex(FieldName);
    if (position < 0)
        return values;
    for (int row = 0; row < FRows.size(); ++row)
        values << CellText(row, position);
    return values;
}

void TTable::SetFieldText(int Position, const QString& Text)
{
    RequireActive();
    if (Position < 0 || Position >= FOrder.size())
        FieldText(Position);  // throws the message for a missing position
    RequireModifiable();
    const int column = FOrder[Position];
    QVariant value;
    if (!Text.isEmpty()) {
        if (FColumnNumeric[column]) {
            const std::optional<double> number = ParseNumberCellText(Text, LocaleDecimalSeparator());
            if (!number)
                throw TFieldError(Text, FColumnNames[column]);
            value = *number;
        } else {
            value = Text;
        }
    }
    if (FState == TDataSetState::Browse) {
        if (FCurrent >= 0 && SameValue(FRows[FCurrent].Values.value(column), value))
            return;
        Edit();
    }
    FRows[FCurrent].Values[column] = value;
    FModified = true;
    emit RowsChanged(FCurrent, FCurrent);
}

// --- row states ------------------------------------------------------------------

TDataSetState TTable::State() const
{
    return FState;
}

bool TTable::Modified() const
{
    return FModified;
}

bool TTable::CanModify() const
{
    return FActive && FCanModify;
}

void TTable::SetState(TDataSetState state)
{
    if (FState == state)
        return;
    FState = state;
    emit StateChanged(state);
}

void TTable::Edit()
{
    RequireActive();
    if (FState != TDataSetState::Browse)
        return;
    RequireModifiable();
    if (FRows.isEmpty()) {
        Insert();
        return;
    }
    FEditOriginal = FRows[FCurrent].Values;
    FModified = false;
    SetState(TDataSetState::Edit);
}

void TTable::Insert()
{
    RequireActive();
    RequireModifiable();
    CheckBrowseMode();
    BeginInsert(FCurrent < 0 ? 0 : FCurrent, false);
}

void TTable::Append()
{
    RequireActive();
    RequireModifiable();
    CheckBrowseMode();
    BeginInsert(FRows.size(), true);
}

void TTable::BeginInsert(int row, bool atEnd)
{
    FRowBeforeInsert = FCurrent;
    emit RowsAboutToBeInserted(row, row);
    TRow fresh;
    fresh.Values = QVector<QVariant>(FColumnNames.size());
    FRows.insert(row, fresh);
    emit RowsInserted(row, row);
    FModified = false;
    SetState(TDataSetState::Insert);
    SetCurrent(row, false, atEnd);
}

void TTable::RemovePendingRow()
{
    const int row = FCurrent;
    emit RowsAboutToBeRemoved(row, row);
    FRows.remove(row);
    emit RowsRemoved(row, row);
    FModified = false;
    SetState(TDataSetState::Browse);
    // Back to the row that was current before the insert.
    int back = FRowBeforeInsert;
    if (back >= FRows.size())
        back = FRows.size() - 1;
    if (FRows.isEmpty())
        back = -1;
    FCurrent = row;  // reported as the row left
    SetCurrent(back, FRows.isEmpty(), FRows.isEmpty());
}

void TTable::Cancel()
{
    RequireActive();
    if (FState == TDataSetState::Insert) {
        RemovePendingRow();
    } else if (FState == TDataSetState::Edit) {
        FRows[FCurrent].Values = FEditOriginal;
        FModified = false;
        SetState(TDataSetState::Browse);
        emit RowsChanged(FCurrent, FCurrent);
    }
}

void TTable::CheckBrowseMode()
{
    if (FState == TDataSetState::Browse)
        return;
    if (FModified)
        Post();
    else
        Cancel();
}

void TTable::Post()
{
    RequireActive();
    if (FState == TDataSetState::Browse)
        return;
    RequireModifiable();
    if (FState == TDataSetState::Edit && !FModified) {
        SetState(TDataSetState::Browse);
        return;
    }
    TRow& row = FRows[FCurrent];
    QHash<qint64, qint64> renumbered;
    qint64 rowId = 0;
    QVector<QVariant> stored;
    bool found = false;
    try {
        MakeWritesDurable();
        Exec(QStringLiteral("BEGIN IMMEDIATE"), {}, WriteAction());
        FollowRenumbering();
        rowId = row.RowId;
        if (FState == TDataSetState::Edit) {
            CheckUnchanged(row, FEditOriginal, false);
            QStringList sets;
            QVector<QVariant> values;
            for (int c = 0; c < FColumnNames.size(); ++c) {
                if (!SameValue(row.Values[c], FEditOriginal.value(c))) {
                    sets << QuotedColumn(c) + QStringLiteral(" = ?");
                    values << row.Values[c];
                }
            }
            if (!sets.isEmpty()) {
                values << rowId;
                Exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(QuotedTable(), sets.join(QStringLiteral(", "))), values,
                     WriteAction());
            }
        } else {
            rowId = RowIdForInsertAt(FCurrent, renumbered);
            QStringList columns{QStringLiteral("rowid")};
            QStringList marks{QStringLiteral("?")};
            QVector<QVariant> values{rowId};
            for (int c = 0; c < FColumnNames.size(); ++c) {
                columns << QuotedColumn(c);
                marks << QStringLiteral("?");
                values << row.Values[c];
            }
            Exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(QuotedTable(), columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                 values, WriteAction());
        }
        // What the file holds (its column types may have converted a value), read before
        // the commit: once committed, nothing may fail and report the post as refused.
        stored = ReadStoredRow(rowId, found);
        Exec(QStringLiteral("COMMIT"), {}, WriteAction());
    } catch (...) {
        Rollback();
        throw;
    }
    if (!renumbered.isEmpty()) {
        for (TRow& other : FRows)
            if (other.RowId != 0)
                other.RowId = renumbered.value(other.RowId, other.RowId);
        ++FGeneration;
    }
    row.RowId = rowId;
    if (found && stored.size() == row.Values.size())
        row.Values = stored;
    FModified = false;
    emit RowsChanged(FCurrent, FCurrent);
    SetState(TDataSetState::Browse);
}

void TTable::Delete()
{
    RequireActive();
    RequireModifiable();
    if (FRows.isEmpty())
        Fail(QStringLiteral("Table '%1' is empty: there is no row to delete").arg(FTableName));
    if (FState == TDataSetState::Insert) {
        RemovePendingRow();
        return;
    }
    const int row = FCurrent;
    const QVector<QVariant> expected = FState == TDataSetState::Edit ? FEditOriginal : FRows[row].Values;
    try {
        MakeWritesDurable();
        Exec(QStringLiteral("BEGIN IMMEDIATE"), {}, DeleteAction());
        FollowRenumbering();
        CheckUnchanged(FRows[row], expected, true);
        Exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(QuotedTable()), {FRows[row].RowId}, DeleteAction());
        Exec(QStringLiteral("COMMIT"), {}, DeleteAction());
    } catch (...) {
        Rollback();
        throw;
    }
    emit RowsAboutToBeRemoved(row, row);
    FRows.remove(row);
    emit RowsRemoved(row, row);
    FModified = false;
    SetState(TDataSetState::Browse);
    FCurrent = row;  // reported as the row left
    const int next = row < FRows.size() ? row : FRows.size() - 1;
    SetCurrent(next, FRows.isEmpty(), FRows.isEmpty());
}

void TTable::Refresh()
{
    RequireActive();
    CheckBrowseMode();
    const qint64 currentId = FCurrent >= 0 ? FRows[FCurrent].RowId : 0;
    const int currentIndex = FCurrent;
    const QStringList orderNames = FieldNames();
    QStringList names;
    QVector<bool> numeric;
    QVector<TRow> rows;
    qint64 generation = 0;
    try {
        ReadSchemaAndRows(names, numeric, rows, generation);
    } catch (const TDatabaseError& error) {
        Fail(QStringLiteral("Table '%1' could not be read again: %2").arg(FTableName, error.Message()));
    }
    emit AboutToReset();
    FGeneration = generation;
    // The user's column order survives for the columns that are still there.
    QVector<int> order;
    for (const QString& name : orderNames) {
        const int column = names.indexOf(name);
        if (column >= 0 && !order.contains(column))
            order << column;
    }
    for (int column = 0; column < names.size(); ++column)
        if (!order.contains(column))
            order << column;
    FColumnNames = names;
    FColumnNumeric = numeric;
    FOrder = order;
    FRows = rows;
    int current = -1;
    for (int i = 0; i < FRows.size(); ++i)
        if (FRows[i].RowId == currentId)
            current = i;
    const bool sameRow = current >= 0;
    if (!sameRow && !FRows.isEmpty())
        current = qBound(0, currentIndex, int(FRows.size()) - 1);
    FCurrent = current;
    if (!sameRow)
        FBof = FEof = false;
    emit Reset();
    SetCurrent(current, FBof, FEof);
}

// --- engine helpers ----------------------------------------------------------------

void TTable::RequireActive() const
{
    if (!FActive)
        Fail(QStringLiteral("Table '%1' is not open").arg(FTableName.isEmpty() ? objectName() : FTableName));
}

void TTable::RequireModifiable() const
{
    if (!FCanModify)
        Fail(QStringLiteral("Table '%1' is read-only: it cannot be changed").arg(FTableName));
}

void TTable::Fail(const QString& what) const
{
    throw TDatabaseError(what);
}

QString TTable::WriteAction() const
{
    return QStringLiteral("the row was not written");
}

QString TTable::DeleteAction() const
{
    return QStringLiteral("the row was not deleted");
}

QString TTable::QuotedTable() const
{
    return QuotedName(FSqlTableName);
}

QString TTable::QuotedColumn(int column) const
{
    return QuotedName(FColumnNames[column]);
}

QSqlQuery TTable::Exec(const QString& sql, const QVector<QVariant>& values, const QString& action)
{
    QSqlQuery query(QSqlDatabase::database(FConnectionName, false));
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    ok = ok && query.exec();
    if (!ok) {
        const QSqlError error = query.lastError();
        if (IsLockError(error))
            Fail(QStringLiteral("Table '%1' is locked by another program; %2").arg(FTableName, action));
        if (IsReadOnlyError(error))
            Fail(QStringLiteral("Table '%1' is read-only; %2").arg(FTableName, action));
        Fail(QStringLiteral("Table '%1': %2 (%3)").arg(FTableName, action, ErrorText(error)));
    }
    return query;
}

void TTable::MakeWritesDurable()
{
    // A post that has returned must survive a power cut; set once, before the first write.
    if (FSynchronousSet)
        return;
    Exec(QStringLiteral("PRAGMA synchronous=FULL"), {}, WriteAction());
    FSynchronousSet = true;
}

void TTable::Rollback()
{
    QSqlQuery query(QSqlDatabase::database(FConnectionName, false));
    query.exec(QStringLiteral("ROLLBACK"));
}

QVector<QVariant> TTable::ReadStoredRow(qint64 rowId, bool& found)
{
    QSqlQuery query = Exec(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(QuotedTable()), {rowId},
                           QStringLiteral("the stored row could not be read"));
    QVector<QVariant> values;
    found = query.next();
    if (found) {
        const int count = query.record().count();
        for (int i = 0; i < count; ++i)
            values << query.value(i);
    }
    return values;
}

void TTable::CheckUnchanged(const TRow& row, const QVector<QVariant>& expected, bool deleting)
{
    // The optimistic stand-in for a row lock: the row must still be as it was read.
    const QString action = deleting ? DeleteAction() : WriteAction();
    bool found = false;
    const QVector<QVariant> stored = row.Lost ? QVector<QVariant>() : ReadStoredRow(row.RowId, found);
    if (!found && !row.Lost)
        Fail(QStringLiteral("Table '%1': the row was deleted by another program after it was read; %2").arg(FTableName, action));
    if (!found || !SameValues(stored, expected)) {
        Fail(QStringLiteral("Table '%1': the row was changed by another program after it was read; %2. "
                            "Cancel and refresh to see the stored row")
                 .arg(FTableName, action));
    }
}

qint64 TTable::RowIdForInsertAt(int row, QHash<qint64, qint64>& renumbered)
{
    // Stored between its neighbours, so the row keeps its place after a refresh or a restart.
    qint64 lower = 0;
    bool hasLower = false;
    for (int k = row - 1; k >= 0; --k) {
        if (FRows[k].RowId != 0 && !FRows[k].Lost) {
            lower = FRows[k].RowId;
            hasLower = true;
            break;
        }
    }
    bool hasUpper = false;
    for (int k = row + 1; k < FRows.size() && !hasUpper; ++k)
        hasUpper = FRows[k].RowId != 0 && !FRows[k].Lost;
    // With no known row before it, a row added at the end still goes after every stored row.
    const bool last = !hasLower && !hasUpper && row == FRows.size() - 1;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt == 1) {
            Renumber(renumbered);
            if (hasLower)
                lower = renumbered.value(lower, lower);
        }
        if (last) {
            QSqlQuery query = Exec(QStringLiteral("SELECT max(rowid) FROM %1").arg(QuotedTable()), {}, WriteAction());
            query.next();
            const QVariant highest = query.value(0);
            query.finish();
            if (highest.isNull())
                return kRowIdSpacing;
            if (highest.toLongLong() <= std::numeric_limits<qint64>::max() - kRowIdSpacing)
                return highest.toLongLong() + kRowIdSpacing;
            continue;
        }
        QSqlQuery query = hasLower ? Exec(QStringLiteral("SELECT min(rowid) FROM %1 WHERE rowid > ?").arg(QuotedTable()), {lower}, WriteAction())
                                   : Exec(QStringLiteral("SELECT min(rowid) FROM %1").arg(QuotedTable()), {}, WriteAction());
        query.next();
        const QVariant upperValue = query.value(0);
        query.finish();
        if (upperValue.isNull()) {
            if (!hasLower)
                return kRowIdSpacing;
            if (lower <= std::numeric_limits<qint64>::max() - kRowIdSpacing)
                return lower + kRowIdSpacing;
            continue;
        }
        const qint64 upper = upperValue.toLongLong();
        if (!hasLower) {
            if (upper >= 2)
                return upper / 2;
            continue;
        }
        if (upper - lower >= 2)
            return lower + (upper - lower) / 2;
    }
    Fail(QStringLiteral("Table '%1': no place for the new row; %2").arg(FTableName, WriteAction()));
}

void TTable::Renumber(QHash<qint64, qint64>& renumbered)
{
    QVector<qint64> ids;
    {
        QSqlQuery query = Exec(QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(QuotedTable()), {}, WriteAction());
        while (query.next())
            ids << query.value(0).toLongLong();
    }
    if (ids.isEmpty())
        return;
    // Two passes through values below every existing rowid, so no step collides.
    const qint64 base = std::min<qint64>(ids.first(), 0) - 1;
    const QString update = QStringLiteral("UPDATE %1 SET rowid = ? WHERE rowid = ?").arg(QuotedTable());
    for (int i = 0; i < ids.size(); ++i)
        Exec(update, {base - i, ids[i]}, WriteAction());
    for (int i = 0; i < ids.size(); ++i) {
        const qint64 fresh = (static_cast<qint64>(i) + 1) * kRowIdSpacing;
        Exec(update, {fresh, base - i}, WriteAction());
        renumbered.insert(ids[i], fresh);
    }
    // Other programs still hold the old numbers: the count tells them to look again.
    Exec(QStringLiteral("PRAGMA user_version = %1").arg(FGeneration + 1), {}, WriteAction());
}

void TTable::FollowRenumbering()
{
    // Called inside a write transaction, so the rows cannot move while they are matched.
    QSqlQuery generation = Exec(QStringLiteral("PRAGMA user_version"), {}, WriteAction());
    if (!generation.next() || generation.value(0).toLongLong() == FGeneration)
        return;
    const qint64 current = generation.value(0).toLongLong();
    generation.finish();
    // Renumbering keeps the rows' order and values, so each row as read is found again
    // in order; one that another program changed or removed is lost, and refused as changed.
    QVector<TRow> stored;
    {
        QSqlQuery query = Exec(QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(QuotedTable()), {}, WriteAction());
        const int count = query.record().count();
        while (query.next()) {
            TRow row;
            row.RowId = query.value(0).toLongLong();
            for (int i = 1; i < count; ++i)
                row.Values << query.value(i);
            stored << row;
        }
    }
    int next = 0;
    for (int i = 0; i < FRows.size(); ++i) {
        if (FRows[i].RowId == 0 || FRows[i].Lost)
            continue;
        FRows[i].Lost = true;
        const QVector<QVariant>& values = i == FCurrent && FState == TDataSetState::Edit ? FEditOriginal : FRows[i].Values;
        for (int k = next; k < stored.size(); ++k) {
            if (SameValues(stored[k].Values, values)) {
                FRows[i].RowId = stored[k].RowId;
                FRows[i].Lost = false;
                next = k + 1;
                break;
            }
        }
    }
    FGeneration = current;
}
