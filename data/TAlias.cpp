#include "data/TAlias.h"

#include "data/TDatabaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>

#include <cstdio>

namespace {

const char* const kFileNames[] = {"City.db", "Concrete.db", "INSULAT.DB", "SOIL.DB", "Floor.db",
                                  "CityEng.DB", "ConcreteEng.DB", "INSULATEng.DB", "SOILEng.DB", "FloorEng.DB"};

// One CSV record: fields separated by commas, double quotes around a field that
// holds commas, a doubled quote inside quotes.
QStringList SplitCsvLine(const QString& line, const QString& source, int lineNumber)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"') {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = true;
            wasQuoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
            wasQuoted = false;
        } else {
            field += c;
        }
    }
    if (quoted)
        throw TDatabaseError(QStringLiteral("Default table %1, line %2: unterminated quote").arg(source).arg(lineNumber));
    fields << field;
    return fields;
}

struct TDefaultTable {
    QStringList Columns;
    QVector<QVector<QVariant>> Rows;  // the name as text, every other cell a number
};

// Reads a default table from the resource: '#' lines are comments (sources), the first
// other line names the columns, each further line is a row.
TDefaultTable ReadDefaultTable(const QString& fileName)
{
    const QString resource = QStringLiteral(":/tables/%1.csv").arg(QFileInfo(fileName).completeBaseName());
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw TDatabaseError(QStringLiteral("Default table %1 is missing from the program").arg(resource));
    TDefaultTable table;
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = SplitCsvLine(line, resource, lineNumber);
        if (table.Columns.isEmpty()) {
            table.Columns = fields;
        } else if (fields.size() != table.Columns.size()) {
            throw TDatabaseError(QStringLiteral("Default table %1, line %2: %3 fields where %4 columns are named")
                                     .arg(resource).arg(lineNumber).arg(fields.size()).arg(table.Columns.size()));
        } else {
            QVector<QVariant> row;
            row << fields[0];
            for (int c = 1; c < fields.size(); ++c) {
                bool isNumber = false;
                const double value = fields[c].trimmed().toDouble(&isNumber);  // C-locale digits in the file
                if (!isNumber)
                    throw TDatabaseError(QStringLiteral("Default table %1, line %2: '%3' is not a number")
                                             .arg(resource).arg(lineNumber).arg(fields[c]));
                row << value;
            }
            table.Rows << row;
        }
    }
    return table;
}

QString Quoted(const QString& name)
{
    QString copy = name;
    return u'"' + copy.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// Writes one table file: the name column as TEXT, every other column REAL, rows spaced
// out in rowid so that rows inserted later fit between their neighbours.
void WriteDefaultTable(const QString& path, const QString& fileName)
{
    const TDefaultTable table = ReadDefaultTable(fileName);
    const QString connection = QStringLiteral("vilo-seed-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            QSqlQuery query(db);
            QStringList columns;
            for (int i = 0; i < table.Columns.size(); ++i)
                columns << Quoted(table.Columns[i]) + (i == 0 ? QStringLiteral(" TEXT") : QStringLiteral(" REAL"));
            const QString sqlName = Quoted(fileName.section(u'.', 0, 0));
            bool ok = query.exec(QStringLiteral("PRAGMA synchronous=FULL")) && query.exec(QStringLiteral("BEGIN")) &&
                      query.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(sqlName, columns.join(QStringLiteral(", "))));
            QStringList marks;
            for (int i = 0; i <= table.Columns.size(); ++i)
                marks << QStringLiteral("?");
            ok = ok && query.prepare(QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (%3)")
                                         .arg(sqlName,
                                              [&] {
                                                  QStringList names;
                                                  for (const QString& c : table.Columns)
                                                      names << Quoted(c);
                                                  return names.join(QStringLiteral(", "));
                                              }(),
                                              marks.join(QStringLiteral(", "))));
            for (int r = 0; ok && r < table.Rows.size(); ++r) {
                query.addBindValue(static_cast<qint64>(r + 1) * 1024);
                for (const QVariant& cell : table.Rows[r])
                    query.addBindValue(cell);
                ok = query.exec();
            }
            ok = ok && query.exec(QStringLiteral("COMMIT"));
            if (!ok)
                failure = query.lastError().text();
            query.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!failure.isEmpty())
        throw TDatabaseError(QStringLiteral("Cannot write the default table '%1': %2").arg(path, failure));
}

}  // namespace

QString TAlias::SettingsFilePath()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vilo"), QStringLiteral("engine")).fileName();
}

QString TAlias::Directory(const QString& AliasName)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vilo"), QStringLiteral("engine"));
    const QString key = QStringLiteral("Aliases/") + AliasName;
    const QString configured = settings.value(key).toString();
    if (!configured.isEmpty()) {
        // A relative entry counts from the settings file's own directory.
        return QDir::cleanPath(QFileInfo(settings.fileName()).absoluteDir().absoluteFilePath(configured));
    }
    if (AliasName != QLatin1String(DefaultAliasName))
        throw TDatabaseError(QStringLiteral("Unknown database alias: %1 (no entry %2 in %3)").arg(AliasName, key, settings.fileName()));
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        throw TDatabaseError(QStringLiteral("No user data directory for the database alias %1").arg(AliasName));
    const QString directory = data + QStringLiteral("/tables");
    SeedDefaultTables(directory);
    return directory;
}

QStringList TAlias::DefaultFileNames()
{
    QStringList names;
    for (const char* name : kFileNames)
        names << QString::fromLatin1(name);
    return names;
}

void TAlias::SeedDefaultTables(const QString& Directory)
{
    const QFileInfo target(Directory);
    if (target.exists() || target.isSymLink())
        return;
    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent))
        throw TDatabaseError(QStringLiteral("Cannot create the directory '%1' for the default tables").arg(parent));

    // Everything is written beside the target and renamed into place at the end, so an
    // interrupted first start leaves no half-filled table directory behind.
    QTemporaryDir staging(parent + QStringLiteral("/.") + target.fileName() + QStringLiteral("-seed-XXXXXX"));
    if (!staging.isValid())
        throw TDatabaseError(QStringLiteral("Cannot create a temporary directory in '%1': %2").arg(parent, staging.errorString()));
    for (const QString& name : DefaultFileNames())
        WriteDefaultTable(staging.filePath(name), name);

    // rename() refuses an existing target: a second instance that seeded first wins and
    // its tables stay as they are.
    if (std::rename(QFile::encodeName(staging.path()).constData(), QFile::encodeName(target.absoluteFilePath()).constData()) == 0) {
        staging.setAutoRemove(false);
        return;
    }
    if (QFileInfo::exists(target.absoluteFilePath()))
        return;
    throw TDatabaseError(QStringLiteral("Cannot move the default tables into '%1'").arg(target.absoluteFilePath()));
}
