// Two programs on one table file, each in its own process: the second change of a row
// is refused and kept pending, never written over the first.
#include "DataFixture.h"

#include <QProcess>

#include <algorithm>

namespace {

// One program, driven a command at a time.
class TProgram {
public:
    TProgram()
    {
        FProcess.start(QStringLiteral(VILO_TABLE_DRIVER), {});
        if (!FProcess.waitForStarted(10000))
            qFatal("the driver did not start: %s", qPrintable(FProcess.errorString()));
    }
    ~TProgram()
    {
        FProcess.write("quit\n");
        if (!FProcess.waitForFinished(10000))
            FProcess.kill();
    }
    // The answer line, without its end.
    QString Send(const QString& command)
    {
        FProcess.write(command.toUtf8() + '\n');
        while (!FProcess.canReadLine())
            if (!FProcess.waitForReadyRead(30000))
                return QStringLiteral("no answer to ") + command;
        return QString::fromUtf8(FProcess.readLine()).chopped(1);
    }
    // Starts a command without waiting for its answer.
    void Start(const QString& command) { FProcess.write(command.toUtf8() + '\n'); }
    QString Answer()
    {
        while (!FProcess.canReadLine())
            if (!FProcess.waitForReadyRead(30000))
                return QStringLiteral("no answer");
        return QString::fromUtf8(FProcess.readLine()).chopped(1);
    }

private:
    QProcess FProcess;
};

const QString kOk = QStringLiteral("ok");

}  // namespace

class TwoProgramsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture::TWorld> World;
    QString Path;

    // The stored rows as texts, "" for an empty cell.
    QList<QStringList> Stored()
    {
        Fixture::TPlainConnection plain(Path);
        QList<QStringList> rows;
        for (const QVariantList& row : plain.Rows(QStringLiteral("SELECT Name, Z, R FROM Floor ORDER BY rowid"))) {
            QStringList cells;
            for (const QVariant& value : row)
                cells << value.toString();
            rows << cells;
        }
        return rows;
    }

private slots:
    void init()
    {
        World = std::make_unique<Fixture::TWorld>();
        Path = World->Tables() + QStringLiteral("/Floor.db");
        Fixture::MakeTable(Path, QStringLiteral("Floor"), QStringLiteral("Name TEXT, Z REAL, R REAL"),
                           {{QStringLiteral("PVC"), 2e6, 0.01}, {QStringLiteral("Linoleum"), 3e5, 0.015}});
    }
    void cleanup() { World.reset(); }

    void theSecondChangeOfARowIsRefusedAndKept_data()
    {
        QTest::addColumn<bool>("firstDeletes");
        QTest::addColumn<bool>("secondDeletes");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("edit, then edit") << false << false << "changed by another program";
        QTest::newRow("edit, then delete") << false << true << "changed by another program";
        QTest::newRow("delete, then edit") << true << false << "deleted by another program";
        QTest::newRow("delete, then delete") << true << true << "deleted by another program";
    }
    void theSecondChangeOfARowIsRefusedAndKept()
    {
        QFETCH(bool, firstDeletes);
        QFETCH(bool, secondDeletes);
        QFETCH(QString, refusal);
        TProgram first;
        TProgram second;
        QCOMPARE(first.Send(QStringLiteral("open ") + Path), QStringLiteral("ok 2"));
        QCOMPARE(second.Send(QStringLiteral("open ") + Path), QStringLiteral("ok 2"));
        // Both have read the row; the second has its change pending when the first writes.
        if (!secondDeletes)
            QCOMPARE(second.Send(QStringLiteral("set 2 0.05")), kOk);
        if (firstDeletes) {
            QCOMPARE(first.Send(QStringLiteral("delete")), kOk);
        } else {
            QCOMPARE(first.Send(QStringLiteral("set 0 PVC 2 mm")), kOk);
            QCOMPARE(first.Send(QStringLiteral("post")), kOk);
        }
        const QList<QStringList> afterFirst = Stored();

        const QString answer = second.Send(secondDeletes ? QStringLiteral("delete") : QStringLiteral("post"));
        QVERIFY2(answer.startsWith(QLatin1String("refused Table 'Floor.db'")) && answer.contains(refusal), qPrintable(answer));
        QCOMPARE(Stored(), afterFirst);
        QCOMPARE(afterFirst.size(), firstDeletes ? 1 : 2);
        QCOMPARE(afterFirst[0][0], firstDeletes ? QStringLiteral("Linoleum") : QStringLiteral("PVC 2 mm"));
        // The second program's change is still there to be cancelled, and the row it was made on.
        QCOMPARE(second.Send(QStringLiteral("state")), secondDeletes ? QStringLiteral("ok browse") : QStringLiteral("ok edit"));
        QCOMPARE(second.Send(QStringLiteral("cell 0")), QStringLiteral("ok PVC"));
        QCOMPARE(second.Send(QStringLiteral("cell 2")), secondDeletes ? QStringLiteral("ok 0.01") : QStringLiteral("ok 0.05"));

        // After a cancel and a refresh it sees what the first program left, and may redo
        // its change on a row that is still there.
        QCOMPARE(second.Send(QStringLiteral("cancel")), kOk);
        QCOMPARE(second.Send(QStringLiteral("refresh")), kOk);
        QCOMPARE(second.Send(QStringLiteral("cell 0")), firstDeletes ? QStringLiteral("ok Linoleum") : QStringLiteral("ok PVC 2 mm"));
        if (firstDeletes)
            return;
        QCOMPARE(second.Send(secondDeletes ? QStringLiteral("delete") : QStringLiteral("set 2 0.05")), kOk);
        if (!secondDeletes)
            QCOMPARE(second.Send(QStringLiteral("post")), kOk);
        QList<QStringList> expected = afterFirst;
        if (secondDeletes)
            expected.removeFirst();
        else
            expected[0][2] = QStringLiteral("0.05");
        QCOMPARE(Stored(), expected);
    }

    void changesOfDifferentRowsBothSurvive()
    {
        TProgram first;
        TProgram second;
        QCOMPARE(first.Send(QStringLiteral("open ") + Path), QStringLiteral("ok 2"));
        QCOMPARE(second.Send(QStringLiteral("open ") + Path), QStringLiteral("ok 2"));
        QCOMPARE(first.Send(QStringLiteral("set 2 0.02")), kOk);
        QCOMPARE(second.Send(QStringLiteral("goto 1")), kOk);
        QCOMPARE(second.Send(QStringLiteral("set 2 0.03")), kOk);
        QCOMPARE(second.Send(QStringLiteral("post")), kOk);
        QCOMPARE(first.Send(QStringLiteral("post")), kOk);
        // A new row from each: both are stored, wherever the other's went.
        QCOMPARE(first.Send(QStringLiteral("append")), kOk);
        QCOMPARE(first.Send(QStringLiteral("set 0 Cork")), kOk);
        QCOMPARE(first.Send(QStringLiteral("post")), kOk);
        QCOMPARE(second.Send(QStringLiteral("append")), kOk);
        QCOMPARE(second.Send(QStringLiteral("set 0 Parquet")), kOk);
        QCOMPARE(second.Send(QStringLiteral("post")), kOk);
        QList<QStringList> stored = Stored();
        std::sort(stored.begin(), stored.end());
        QCOMPARE(stored, (QList<QStringList>{{"Cork", "", ""}, {"Linoleum", "3e+05", "0.03"}, {"PVC", "2e+06", "0.02"}, {"Parquet", "", ""}}));
    }

    void rowsMovedAlongForANewOneKeepTheirIdentity_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::newRow("edit") << false;
        QTest::newRow("delete") << true;
    }
    void rowsMovedAlongForANewOneKeepTheirIdentity()
    {
        // Rows stored one after the other leave no room: a new row between them makes the
        // first program move every row along, while the second holds them as it read them.
        QFETCH(bool, deleting);
        TProgram first;
        TProgram second;
        QCOMPARE(first.Send(QStringLiteral("open ") + Path), QStringLiteral("ok 2"));
        QCOMPARE(second.Send(QStringLiteral("open ") + Path), QStringLiteral("ok 2"));
        {
            Fixture::TPlainConnection other(Path);
            QVERIFY(other.Exec(QStringLiteral("UPDATE Floor SET Z = 1 WHERE Name = 'PVC'")));
        }
        QCOMPARE(first.Send(QStringLiteral("goto 1")), kOk);
        QCOMPARE(first.Send(QStringLiteral("insert")), kOk);
        QCOMPARE(first.Send(QStringLiteral("set 0 Cork")), kOk);
        QCOMPARE(first.Send(QStringLiteral("post")), kOk);

        // The row nobody changed is changed or deleted as the user asks ...
        QCOMPARE(second.Send(QStringLiteral("goto 1")), kOk);
        if (deleting) {
            QCOMPARE(second.Send(QStringLiteral("delete")), kOk);
        } else {
            QCOMPARE(second.Send(QStringLiteral("set 2 0.03")), kOk);
            QCOMPARE(second.Send(QStringLiteral("post")), kOk);
        }
        QCOMPARE(second.Send(QStringLiteral("append")), kOk);
        QCOMPARE(second.Send(QStringLiteral("set 0 Parquet")), kOk);
        QCOMPARE(second.Send(QStringLiteral("post")), kOk);
        // ... and the one another program did change is still refused.
        QCOMPARE(second.Send(QStringLiteral("goto 0")), kOk);
        QCOMPARE(second.Send(QStringLiteral("set 2 0.05")), kOk);
        const QString answer = second.Send(QStringLiteral("post"));
        QVERIFY2(answer.startsWith(QLatin1String("refused Table 'Floor.db': the row was changed by another program")), qPrintable(answer));

        QList<QStringList> expected{{"PVC", "1", "0.01"}, {"Cork", "", ""}, {"Linoleum", "3e+05", "0.03"}, {"Parquet", "", ""}};
        if (deleting)
            expected.removeAt(2);
        QCOMPARE(Stored(), expected);
    }

    void postsAtTheSameMomentWriteOneAndRefuseTheOther()
    {
        TProgram first;
        TProgram second;
        QCOMPARE(first.Send(QStringLiteral("open ") + Path), QStringLiteral("ok 2"));
        QCOMPARE(second.Send(QStringLiteral("open ") + Path), QStringLiteral("ok 2"));
        QCOMPARE(first.Send(QStringLiteral("set 2 0.02")), kOk);
        QCOMPARE(second.Send(QStringLiteral("set 2 0.03")), kOk);
        first.Start(QStringLiteral("post"));
        second.Start(QStringLiteral("post"));
        const QStringList answers{first.Answer(), second.Answer()};
        QCOMPARE(answers.count(kOk), 1);
        const int refused = answers.indexOf(kOk) == 0 ? 1 : 0;
        QVERIFY2(answers[refused].contains(QLatin1String("changed by another program")), qPrintable(answers[refused]));
        QCOMPARE(Stored()[0][2], refused == 1 ? QStringLiteral("0.02") : QStringLiteral("0.03"));
    }
};

QTEST_GUILESS_MAIN(TwoProgramsTest)
#include "twoprograms_test.moc"
