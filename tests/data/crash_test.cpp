// A program killed at any moment while it posts: every post that had returned is in
// the file, the file is whole, and it still opens as a table.
#include "DataFixture.h"

#include "data/TDatabaseError.h"
#include "data/TTable.h"

#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

using Fixture::TPlainConnection;

namespace {

constexpr int kKills = 200;

// Name -> number of every row, as the file holds them now.
QHash<QString, qint64> StoredNumbers(const QString& path, QString& integrity)
{
    TPlainConnection plain(path);
    integrity = plain.Rows(QStringLiteral("PRAGMA integrity_check")).value(0).value(0).toString();
    QHash<QString, qint64> numbers;
    for (const QVariantList& row : plain.Rows(QStringLiteral("SELECT Name, N FROM Log")))
        numbers.insert(row.value(0).toString(), row.value(1).toLongLong());
    return numbers;
}

}  // namespace

class CrashTest : public QObject {
    Q_OBJECT

private slots:
    void everyReturnedPostSurvivesAKill()
    {
        Fixture::TWorld world;
        const QString path = world.Tables() + QStringLiteral("/Log.db");
        Fixture::MakeTable(path, QStringLiteral("Log"), QStringLiteral("Name TEXT, N REAL"),
                           {{QStringLiteral("r1"), 1}, {QStringLiteral("r2"), 2}});
        const quint32 seed = qEnvironmentVariableIsSet("VILO_CRASH_SEED") ? qEnvironmentVariableIntValue("VILO_CRASH_SEED")
                                                                           : QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        const auto where = [seed](int kill, const QString& what) {
            return QStringLiteral("seed %1 (VILO_CRASH_SEED), kill %2: %3").arg(seed).arg(kill).arg(what).toUtf8();
        };

        QHash<QString, qint64> expected{{QStringLiteral("r1"), 1}, {QStringLiteral("r2"), 2}};
        int posts = 0;
        for (int kill = 1; kill <= kKills; ++kill) {
            QProcess child;
            child.start(QStringLiteral(VILO_POST_LOOP), {path, QString::number(random.generate())});
            QVERIFY2(child.waitForStarted(10000), where(kill, child.errorString()).constData());
            // Sometimes before the table is open, mostly somewhere among the posts.
            if (random.bounded(10) != 0) {
                QVERIFY2(child.waitForReadyRead(30000), where(kill, QStringLiteral("no output")).constData());
                QThread::usleep(random.bounded(150000));
            }
            child.kill();
            QVERIFY(child.waitForFinished(10000));
            const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
            for (const QByteArray& line : lines) {
                const QList<QByteArray> words = line.split(' ');
                if (words.value(0) == "failed")
                    QFAIL(where(kill, QString::fromUtf8(line)).constData());
                if (words.size() == 3 && (words[0] == "insert" || words[0] == "edit")) {
                    QVERIFY2(words[0] == "insert" || expected.contains(QString::fromUtf8(words[1])), where(kill, QString::fromUtf8(line)));
                    expected.insert(QString::fromUtf8(words[1]), words[2].toLongLong());
                    ++posts;
                }
            }

            QString integrity;
            const QHash<QString, qint64> stored = StoredNumbers(path, integrity);
            QVERIFY2(integrity == QLatin1String("ok"), where(kill, integrity).constData());
            // A post that returned is there; one that was cut off after its commit may
            // have left a later number or an extra row, never less.
            for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
                QVERIFY2(stored.contains(it.key()), where(kill, it.key() + QStringLiteral(" is lost")).constData());
                QVERIFY2(stored.value(it.key()) >= it.value(),
                         where(kill, QStringLiteral("%1 holds %2 where %3 was posted").arg(it.key()).arg(stored.value(it.key())).arg(it.value()))
                             .constData());
            }
            expected = stored;

            TTable table;
            try {
                table.OpenFile(path);
            } catch (const TDatabaseError& error) {
                QFAIL(where(kill, error.Message()).constData());
            }
            QVERIFY2(table.RecordCount() == stored.size(), where(kill, QStringLiteral("row count")).constData());
        }
        qInfo("%d posts returned before %d kills (seed %u)", posts, kKills, seed);
        // Slow disks make fewer posts between kills, but most kills must find some.
        QVERIFY2(posts > kKills / 4, "the kills came before nearly every post: the test proved little");
    }
};

QTEST_GUILESS_MAIN(CrashTest)
#include "crash_test.moc"
