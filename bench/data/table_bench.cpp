// Opening the ten tables against plain Qt SQL opening ten empty files in the same run,
// and the time of one durable post.
#include "data/TAlias.h"
#include "data/TTable.h"
#include "data/TTableSet.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> gRoot;

QString EmptyFilesDir()
{
    return gRoot->filePath(QStringLiteral("empty"));
}

// Baseline: what any program pays to open ten SQLite files and read their schema.
void OpenTenEmptyFilesPlainQtSql()
{
    for (int i = 0; i < 10; ++i) {
        const QString name = QStringLiteral("baseline-%1").arg(i);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(EmptyFilesDir() + QStringLiteral("/%1.db").arg(i));
            db.open();
            QSqlQuery query(db);
            query.exec(QStringLiteral("SELECT name FROM sqlite_master"));
            benchmark::DoNotOptimize(query.next());
            query.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
}

// Both languages' sets opened through the alias, all rows read, and closed again.
void OpenTenTables()
{
    TTableSet swedish(TLanguage::Swedish);
    TTableSet english(TLanguage::English);
    swedish.Open();
    english.Open();
    benchmark::DoNotOptimize(english.Table(1)->RecordCount());
}

void BM_OpenTenEmptyFilesPlainQtSql(benchmark::State& state)
{
    for (auto _ : state)
        OpenTenEmptyFilesPlainQtSql();
}
BENCHMARK(BM_OpenTenEmptyFilesPlainQtSql)->Unit(benchmark::kMillisecond);

void BM_OpenTenTables(benchmark::State& state)
{
    for (auto _ : state)
        OpenTenTables();
}
BENCHMARK(BM_OpenTenTables)->Unit(benchmark::kMillisecond);

// The two alternated within each iteration, so that load from elsewhere on the machine
// falls on both alike; the counter is the ratio of their times.
void BM_OpenTenTablesToBaselineRatio(benchmark::State& state)
{
    qint64 baselineNs = 0;
    qint64 tablesNs = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        timer.start();
        OpenTenEmptyFilesPlainQtSql();
        baselineNs += timer.nsecsElapsed();
        timer.start();
        OpenTenTables();
        tablesNs += timer.nsecsElapsed();
    }
    state.counters["ratio"] = baselineNs > 0 ? double(tablesNs) / double(baselineNs) : 0.0;
}
BENCHMARK(BM_OpenTenTablesToBaselineRatio)->Unit(benchmark::kMillisecond);

// One changed cell posted: its own committed transaction with synchronous=FULL.
void BM_PostOneChangedRow(benchmark::State& state)
{
    TTable table;
    table.Open(QString::fromLatin1(TAlias::DefaultAliasName), QStringLiteral("SOILEng.DB"));
    int i = 0;
    for (auto _ : state) {
        table.SetFieldText(1, (++i % 2) ? QStringLiteral("2.5") : QStringLiteral("2"));
        table.Post();
    }
}
BENCHMARK(BM_PostOneChangedRow)->Unit(benchmark::kMillisecond);

// Baseline for the post: the same durable one-row UPDATE with plain Qt SQL.
void BM_PostPlainQtSqlUpdate(benchmark::State& state)
{
    const QString name = QStringLiteral("post-baseline");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(TAlias::Directory() + QStringLiteral("/SOIL.DB"));
        db.open();
        QSqlQuery query(db);
        query.exec(QStringLiteral("PRAGMA synchronous=FULL"));
        int i = 0;
        for (auto _ : state) {
            query.exec(QStringLiteral("BEGIN IMMEDIATE"));
            query.prepare(QStringLiteral("UPDATE SOIL SET \"Värmeledningsförmågan\" = ? WHERE rowid = 1024"));
            query.addBindValue((++i % 2) ? 2.5 : 2.0);
            query.exec();
            query.exec(QStringLiteral("COMMIT"));
        }
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
BENCHMARK(BM_PostPlainQtSqlUpdate)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    gRoot = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", gRoot->filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", gRoot->filePath(QStringLiteral("data")).toUtf8());
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Vilo"));
    QCoreApplication::setApplicationName(QStringLiteral("vilo"));
    TAlias::Directory();  // seeds the default tables once, outside the timing

    QDir().mkpath(EmptyFilesDir());
    for (int i = 0; i < 10; ++i) {
        const QString name = QStringLiteral("create-%1").arg(i);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(EmptyFilesDir() + QStringLiteral("/%1.db").arg(i));
            db.open();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gRoot.reset();
    return 0;
}
