// Importing 100,000 rounds into a record of 10,000 on disk: from the
// record's CSV export, as the record window runs it (a job on a thread of
// its own) while the window's thread runs its event loop and another
// connection saves a round every 10 ms; and from another record. Each
// against its floor: the sqlite3 shell inserting the same rows, as SQL text,
// in one transaction into a copy of the same record.

#include "filled_record.h"
#include "measure.h"
#include "record/csv_export.h"
#include "record/job.h"
#include "record/joint_blob.h"
#include "record/round_columns.h"
#include "record/round_id.h"
#include "record/round_import.h"
#include "record/score_store.h"
#include "ui/problem_text.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

constexpr int kKeptRounds = 10'000;
constexpr int kImportedRounds = 100'000;
constexpr std::chrono::milliseconds kSaveEvery {10};
constexpr double kUsPerMs = 1000;

QString sqlLiteral(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return QLatin1Char('\'') + value.toString().replace(QLatin1Char('\''), QStringLiteral("''"))
            + QLatin1Char('\'');
    case QMetaType::QByteArray:
        return QStringLiteral("X'%1'").arg(QString::fromLatin1(value.toByteArray().toHex()));
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 17);
    case QMetaType::Bool:
        return QString::number(value.toBool() ? 1 : 0);
    default:
        return value.toString();
    }
}

// The rounds of `source` as the SQL text the shell runs: one transaction.
bool writeInserts(const QString& source, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("BEGIN;\n");
    const auto read = record::ScoreStore(source).eachCompleteRound([&](const record::RoundRecord& round) {
        QStringList values;
        for (const QVariant& value : record::roundValues(round))
            values << sqlLiteral(value);
        file.write(QStringLiteral("INSERT INTO rounds (%1) VALUES (%2);\n"
                                  "INSERT INTO round_joints VALUES (last_insert_rowid(), %3, %4);\n")
                       .arg(record::roundColumns(), values.join(QLatin1Char(',')),
                           sqlLiteral(record::jointBlob(round.target)), sqlLiteral(record::jointBlob(round.player)))
                       .toUtf8());
    });
    file.write("COMMIT;\n");
    return !read.problem && file.flush();
}

// Microseconds the sqlite3 shell takes to run `sql` on the record at `path`; -1 without the shell.
double shellUs(const QString& path, const QString& sql)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        return -1;
    QProcess process;
    process.setStandardInputFile(sql);
    const double us = bench::microsecondsFor([&] {
        process.start(shell, {path});
        process.waitForFinished(-1);
    });
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 ? us : -1;
}

// Lets the next VmHWM read tell the peak from now on.
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// KiB the peak rose above what the process held before `action`.
template <class Action> long peakRiseKiB(Action&& action)
{
    resetPeak();
    const long before = bench::statusKiB("VmRSS");
    action();
    return bench::statusKiB("VmHWM") - before;
}

struct Figures {
    double us = 0;
    long peakKiB = 0;
    double stallUs = 0; // the longest the event loop did not run
    double saveWaitUs = 0; // the longest a concurrent save took
};

// Imports `file` into the record at `path` as the record window does, timing the event loop and another writer.
Figures importAsAJob(const QString& path, const QString& file)
{
    Figures figures;
    figures.peakKiB = peakRiseKiB([&] {
        std::atomic<bool> importing {true};
        std::atomic<double> longestSave {0};
        std::thread saver([&] {
            record::ScoreStore other(path);
            for (int n = 0; importing; ++n) {
                record::RoundRecord round = bench::aRound(n);
                const double us = bench::microsecondsFor([&] { other.append(round); });
                longestSave = std::max(longestSave.load(), us);
                std::this_thread::sleep_for(kSaveEvery);
            }
        });
        QObject receiver;
        QEventLoop loop;
        QTimer tick; // the window's timers: how late each runs is how long the loop was held up
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        QElapsedTimer sinceTick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            figures.stallUs = std::max(figures.stallUs, static_cast<double>(sinceTick.nsecsElapsed()) / 1000);
            sinceTick.restart();
        });
        record::ImportReport report;
        QElapsedTimer wall;
        wall.start();
        sinceTick.start();
        tick.start();
        record::startJob<record::ImportReport>(
            path, &receiver, [file](record::ScoreStore& store) { return record::importFiles(store, {file}); },
            [&](const record::ImportReport& done) {
                report = done;
                loop.quit();
            });
        loop.exec();
        figures.us = static_cast<double>(wall.nsecsElapsed()) / 1000;
        importing = false;
        saver.join();
        figures.saveWaitUs = longestSave;
        if (report.failed() || report.added != kImportedRounds)
            bench::fail(qPrintable(ui::importReportText(report)));
    });
    return figures;
}

Figures importDirectly(const QString& path, const QString& file)
{
    Figures figures;
    figures.peakKiB = peakRiseKiB([&] {
        record::ScoreStore store(path);
        record::ImportReport report;
        figures.us = bench::microsecondsFor([&] { report = record::importFiles(store, {file}); });
        if (report.failed() || report.added != kImportedRounds)
            bench::fail(qPrintable(ui::importReportText(report)));
    });
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir disk;
    if (!disk.isValid())
        bench::fail("no temporary folder");
    const auto at = [&](const char* name) { return disk.filePath(QString::fromLatin1(name)); };
    {
        QList<record::RoundRecord> rounds;
        for (int n = 0; n < kImportedRounds; ++n) {
            rounds.append(bench::aRound(n));
            rounds.back().uid = record::randomRoundId();
        }
        record::ScoreStore source(at("other.sqlite"));
        if (source.add(rounds).problem || record::exportCsv(source, at("other.csv")))
            bench::fail("cannot lay down the rounds to import");
    }
    if (!bench::writeFilledRecord(at("kept.sqlite"), kKeptRounds, bench::Filling::Rounds)
        || !writeInserts(at("other.sqlite"), at("other.sql")))
        bench::fail("cannot lay down the record to import into");
    for (const char* copy : {"csv.sqlite", "record.sqlite", "shell.sqlite"})
        QFile::copy(at("kept.sqlite"), at(copy));

    const Figures csv = importAsAJob(at("csv.sqlite"), at("other.csv"));
    const Figures fromRecord = importDirectly(at("record.sqlite"), at("other.sqlite"));
    bench::report("csv_import_us", csv.us);
    bench::reportInteger("csv_import_peak_kib", csv.peakKiB);
    bench::report("csv_import_stall_us", csv.stallUs);
    bench::report("csv_import_save_wait_us", csv.saveWaitUs);
    bench::report("record_import_us", fromRecord.us);
    bench::reportInteger("record_import_peak_kib", fromRecord.peakKiB);
    bench::report("shell_insert_us", shellUs(at("shell.sqlite"), at("other.sql")));
    bench::reportInteger("imported_rounds", kImportedRounds);
    bench::reportInteger("kept_rounds", kKeptRounds);
    return EXIT_SUCCESS;
}
