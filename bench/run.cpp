// Runs every benchmark probe as a child process and prints one table: each
// figure beside its floor or peer, measured in the same run, and its goal.
// Timings are reported, never judged by the exit status; the driver fails only
// when a probe could not run.

#include "measure.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#ifndef BENCH_BUILD_TYPE
#define BENCH_BUILD_TYPE ""
#endif

namespace {

constexpr int kLaunches = 7; // start-up runs of each program, after one warm-up each
constexpr int kMainWindowRuns = 3; // each takes the title's three seconds
constexpr int kProbeTimeoutMs = 120'000;
constexpr double kKiBPerMiB = 1024;
constexpr double kNsPerMs = 1e6;
constexpr double kUsPerMs = 1000;
constexpr double kMsPerFrame = 1000.0 / 120.0; // one frame at 120 Hz

// Goals. Times are judged as ratios to a floor measured in the same run, so
// that they hold on any machine; absolute figures are printed beside them.
constexpr double kStartupRatioGoal = 1.1; // over the window with Japanese text
constexpr double kIdleCpuGoalPercent = 5;
constexpr double kDragGoalUs = 1000;
constexpr double kGrowthGoalMiB = 1;
constexpr double kPeakOverBareGoalMiB = 15; // main window shown, over the bare window
constexpr double kSaveClickRatioGoal = 2; // p99 over the synced write's p99
constexpr double kRecordWindowRatioGoal = 2; // over reading its rounds alone
constexpr double kRecordWindowGoalMiB = 15;
constexpr double kCoachedCheckRatioGoal = 1.5; // p99 over the plain CHEK's p99 and the synced write's p99
constexpr double kEstimateGoalMs = 5;
constexpr double kSpeedTabRatioGoal = 1.5; // over every day's level alone
constexpr double kSpeedUpdateRatioGoal = 3; // over the levels alone
constexpr double kImportFloorRatioGoal = 3; // over the sqlite3 shell inserting the same rows
constexpr double kImportPeakGoalMiB = 60; // over what the game held before
constexpr double kImportStallGoalMs = 50; // the longest the window's event loop did not run
constexpr double kImportSaveWaitGoalMs = 1000; // the longest another copy's save waited
constexpr double kPartsPerMillion = 1e6;

/// One finished probe run: its "key value" lines, or why it failed.
struct ProbeRun {
    QHash<QString, QString> values;
    QString failure;
    std::int64_t launchedNs = 0;

    bool ok() const { return failure.isEmpty(); }
    double number(const QString& key) const { return values.value(key).toDouble(); }
    std::int64_t integer(const QString& key) const { return values.value(key).toLongLong(); }
};

QProcessEnvironment probeEnvironment(std::optional<int> scaleFactor = std::nullopt)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
    if (scaleFactor)
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(*scaleFactor));
    return environment;
}

ProbeRun runProbe(
    const QString& name, const QStringList& arguments = {}, const QProcessEnvironment& environment = probeEnvironment())
{
    ProbeRun run;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProgram(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name);
    process.setArguments(arguments);
    run.launchedNs = bench::monotonicNs();
    process.start();
    if (!process.waitForFinished(kProbeTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.failure = name + QStringLiteral(": ") + process.errorString();
        return run;
    }
    const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QLatin1Char(' '));
        if (parts.size() == 2)
            run.values.insert(parts[0], parts[1]);
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        run.failure
            = name + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return run;
}

struct Row {
    QString figure, measured, floor, goal;
};

/// Terminal columns a text takes: the full-width forms and CJK characters of
/// the Japanese captions take two each, so padding by characters misaligns.
qsizetype columnsOf(const QString& text)
{
    qsizetype columns = 0;
    for (const char32_t c : text.toUcs4()) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3)
            || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
            || (c >= 0xFFE0 && c <= 0xFFE6);
        columns += wide ? 2 : 1;
    }
    return columns;
}

QString padded(const QString& text, qsizetype columns)
{
    return text + QString(std::max<qsizetype>(columns - columnsOf(text), 0), u' ');
}

class Report {
public:
    void add(Row row) { m_rows.push_back(std::move(row)); }
    /// A row for a figure whose probe failed; the reason is listed under the table.
    void addFailure(const QString& figure, const ProbeRun& run)
    {
        m_rows.push_back({figure, QStringLiteral("FAILED"), QString(), QString()});
        m_failures << run.failure;
    }
    bool failed() const { return !m_failures.isEmpty(); }

    void print() const
    {
        Row header {QStringLiteral("figure"), QStringLiteral("measured"), QStringLiteral("floor / peer"),
            QStringLiteral("ratio / goal")};
        std::vector<Row> all {header};
        all.insert(all.end(), m_rows.begin(), m_rows.end());
        qsizetype widths[3] = {0, 0, 0};
        for (const Row& row : all) {
            widths[0] = std::max(widths[0], columnsOf(row.figure));
            widths[1] = std::max(widths[1], columnsOf(row.measured));
            widths[2] = std::max(widths[2], columnsOf(row.floor));
        }
        constexpr int kGap = 2;
        for (const Row& row : all) {
            const QString line = padded(row.figure, widths[0] + kGap) + padded(row.measured, widths[1] + kGap)
                + padded(row.floor, widths[2] + kGap) + row.goal;
            std::printf("%s\n", qPrintable(line.trimmed()));
        }
        for (const QString& failure : m_failures)
            std::printf("\n%s\n", qPrintable(failure));
        std::fflush(stdout);
    }

private:
    std::vector<Row> m_rows;
    QStringList m_failures;
};

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

/// `value` over its `floor`, judged against `goal`: "1.23x (goal <= 2x, met)".
QString ratioText(double value, double floor, double goal)
{
    const double ratio = value / floor;
    return QStringLiteral("%1x (goal <= %2x, %3)").arg(fixed(ratio, 2), QString::number(goal), verdict(ratio <= goal));
}

QString mib(double kib)
{
    return fixed(kib / kKiBPerMiB, 1) + QStringLiteral(" MiB");
}

/// The peak memory of the two peers once shown, in KiB.
struct PeerPeaks {
    double bare = 0;
    double text = 0;
};

/// Figures 1 and 7 (floor side): launches the bare window and the game's
/// start-up alternately, so drift in the machine's load hits both alike.
void startup(Report& report, PeerPeaks& peers)
{
    std::vector<double> bareMs, textMs, gameMs, bareHwm, textHwm;
    for (int launch = 0; launch <= kLaunches; ++launch) {
        const ProbeRun bare = runProbe(QStringLiteral("bench_bare_window"));
        const ProbeRun text = runProbe(QStringLiteral("bench_bare_window"), {QStringLiteral("--japanese-text")});
        const ProbeRun game = runProbe(QStringLiteral("bench_startup"));
        for (const ProbeRun* run : {&bare, &text, &game}) {
            if (!run->ok()) {
                report.addFailure(QStringLiteral("start-up to title shown"), *run);
                return;
            }
        }
        if (launch == 0)
            continue; // warm-up: loads the files into the page cache
        bareMs.push_back(static_cast<double>(bare.integer(QStringLiteral("exposed_ns")) - bare.launchedNs) / kNsPerMs);
        textMs.push_back(static_cast<double>(text.integer(QStringLiteral("exposed_ns")) - text.launchedNs) / kNsPerMs);
        gameMs.push_back(static_cast<double>(game.integer(QStringLiteral("exposed_ns")) - game.launchedNs) / kNsPerMs);
        bareHwm.push_back(bare.number(QStringLiteral("hwm_kib")));
        textHwm.push_back(text.number(QStringLiteral("hwm_kib")));
    }
    const double bare = bench::summarise(bareMs).median;
    const double game = bench::summarise(gameMs).median;
    const double text = bench::summarise(textMs).median;
    report.add({QStringLiteral("start-up to title shown (median of %1 launches)").arg(kLaunches),
        fixed(game, 1) + QStringLiteral(" ms"), QStringLiteral("window with Japanese text %1 ms").arg(fixed(text, 1)),
        ratioText(game, text, kStartupRatioGoal)});
    report.add({QStringLiteral("start-up to title shown, against a bare window (same launches)"),
        fixed(game, 1) + QStringLiteral(" ms"), QStringLiteral("bare window %1 ms").arg(fixed(bare, 1)),
        QStringLiteral("%1x (no goal)").arg(fixed(game / bare, 2))});
    peers = {bench::summarise(bareHwm).median, bench::summarise(textHwm).median};
}

/// Figures 2 and 3.
void idleCpu(Report& report)
{
    const ProbeRun run = runProbe(QStringLiteral("bench_idle_cpu"));
    if (!run.ok()) {
        report.addFailure(QStringLiteral("CPU during waits"), run);
        return;
    }
    const double busy = run.number(QStringLiteral("busy_loop_cpu_percent"));
    const QString peer = QStringLiteral("busy loop %1 %").arg(fixed(busy, 1));
    const auto row = [&](const QString& figure, const QString& key) {
        const double percent = run.number(key + QStringLiteral("_cpu_percent"));
        report.add(
            {QStringLiteral("%1 (one wait of %2 s)").arg(figure, fixed(run.number(key + QStringLiteral("_wall_s")), 2)),
                fixed(percent, 3) + QStringLiteral(" % of a core"), peer,
                QStringLiteral("goal < %1 %, %2")
                    .arg(fixed(kIdleCpuGoalPercent, 0), verdict(percent < kIdleCpuGoalPercent))});
    };
    row(QStringLiteral("CPU during title wait"), QStringLiteral("title_wait"));
    row(QStringLiteral("CPU during START's 1.5 s display"), QStringLiteral("display_wait"));
}

QString medianAndP99(const ProbeRun& run, const QString& key)
{
    return QStringLiteral("%1 / %2 us")
        .arg(fixed(run.number(key + QStringLiteral("_median")), 0), fixed(run.number(key + QStringLiteral("_p99")), 0));
}

/// A sample set's median and p99 in milliseconds.
QString ms(const ProbeRun& run, const QString& key)
{
    return QStringLiteral("%1 / %2 ms")
        .arg(fixed(run.number(key + QStringLiteral("_median")) / kUsPerMs, 2),
            fixed(run.number(key + QStringLiteral("_p99")) / kUsPerMs, 2));
}

/// A few runs' median and slowest in milliseconds (the p99 of so few is their slowest).
QString medianAndSlowest(const ProbeRun& run, const QString& key)
{
    return QStringLiteral("%1 ms (slowest %2 ms)")
        .arg(fixed(run.number(key + QStringLiteral("_median")) / kUsPerMs, 1),
            fixed(run.number(key + QStringLiteral("_p99")) / kUsPerMs, 1));
}

QString runs(const ProbeRun& run, const QString& key)
{
    return QString::number(run.integer(key + QStringLiteral("_count")));
}

const QString kFramePeer = QStringLiteral("120 Hz frame %1 us").arg(fixed(kMsPerFrame * 1000, 0));

/// Figures 4 and 6.
void rounds(Report& report)
{
    const ProbeRun run = runProbe(QStringLiteral("bench_rounds"));
    if (!run.ok()) {
        report.addFailure(QStringLiteral("START and CHEK"), run);
        return;
    }
    const auto row = [&](const QString& figure, const QString& key) {
        const double frames = run.number(key + QStringLiteral("_p99")) / (kMsPerFrame * 1000);
        report.add({QStringLiteral("%1 (median / p99 of %2)").arg(figure, runs(run, key)), medianAndP99(run, key),
            kFramePeer, QStringLiteral("p99 = %1 frame (no goal)").arg(fixed(frames, 3))});
    };
    row(QStringLiteral("START, display time 0, painted"), QStringLiteral("start_us"));
    row(QStringLiteral("CHEK, dialog refilled, painted"), QStringLiteral("check_us"));
}

/// Figure 5, at device-pixel ratios 1 and 2.
void drag(Report& report)
{
    for (const int scale : {1, 2}) {
        const QString figure = QStringLiteral("drag move + handler + repaint, DPR %1").arg(scale);
        const ProbeRun run = runProbe(QStringLiteral("bench_drag"), {}, probeEnvironment(scale));
        if (!run.ok()) {
            report.addFailure(figure, run);
            continue;
        }
        const double dpr = run.number(QStringLiteral("device_pixel_ratio"));
        const double p99 = run.number(QStringLiteral("drag_us_p99"));
        const double median = run.number(QStringLiteral("drag_us_median"));
        report.add({QStringLiteral("%1 (median / p99 of %2)%3")
                        .arg(figure, runs(run, QStringLiteral("drag_us")),
                            dpr == scale ? QString() : QStringLiteral(" [actual DPR %1]").arg(dpr)),
            medianAndP99(run, QStringLiteral("drag_us")), kFramePeer,
            QStringLiteral("goal < %1 us, %2")
                .arg(fixed(kDragGoalUs, 0), verdict(median < kDragGoalUs && p99 < kDragGoalUs))});
    }
}

/// Figure 7, against the peers' peaks measured by startup().
void peakMemory(Report& report, const PeerPeaks& peers)
{
    std::vector<double> peaks;
    for (int i = 0; i < kMainWindowRuns; ++i) {
        const ProbeRun run = runProbe(QStringLiteral("bench_startup"), {QStringLiteral("--main-window")});
        if (!run.ok()) {
            report.addFailure(QStringLiteral("peak memory with main window shown"), run);
            return;
        }
        peaks.push_back(run.number(QStringLiteral("hwm_kib")));
    }
    const double game = bench::summarise(peaks).median;
    const double overBareMiB = (game - peers.bare) / kKiBPerMiB;
    report.add({QStringLiteral("peak memory, main window shown (VmHWM, median of %1)").arg(kMainWindowRuns), mib(game),
        QStringLiteral("bare window %1").arg(mib(peers.bare)),
        QStringLiteral("+%1 MiB (goal <= +%2 MiB, %3)")
            .arg(fixed(overBareMiB, 1), fixed(kPeakOverBareGoalMiB, 0), verdict(overBareMiB <= kPeakOverBareGoalMiB))});
    report.add({QStringLiteral("peak memory, main window shown, against text (same runs)"), mib(game),
        QStringLiteral("window with Japanese text %1").arg(mib(peers.text)),
        QStringLiteral("+%1 MiB (no goal)").arg(fixed((game - peers.text) / kKiBPerMiB, 1))});
}

/// Figure 8.
void memoryGrowth(Report& report)
{
    const ProbeRun run = runProbe(QStringLiteral("bench_memory"));
    if (!run.ok()) {
        report.addFailure(QStringLiteral("memory growth over rounds"), run);
        return;
    }
    const double baseline = run.number(QStringLiteral("rss_baseline_kib"));
    const double final = run.number(QStringLiteral("rss_final_kib"));
    const double growthMiB = (final - baseline) / kKiBPerMiB;
    report.add({QStringLiteral("memory after %1 rounds (VmRSS, one run)").arg(run.integer(QStringLiteral("rounds"))),
        QStringLiteral("%1 (%2%3 MiB)")
            .arg(mib(final), growthMiB < 0 ? QString() : QStringLiteral("+"), fixed(growthMiB, 2)),
        QStringLiteral("after %1 rounds %2").arg(run.integer(QStringLiteral("baseline_rounds"))).arg(mib(baseline)),
        QStringLiteral("goal growth <= %1 MiB, %2")
            .arg(fixed(kGrowthGoalMiB, 0), verdict(growthMiB <= kGrowthGoalMiB))});
}

/// The score record's figures, each against its peer from the same run.
void scoreRecord(Report& report)
{
    const ProbeRun run = runProbe(QStringLiteral("bench_record"));
    if (!run.ok()) {
        report.addFailure(QStringLiteral("score record"), run);
        return;
    }
    const auto ratio = [&](const QString& key, const QString& peerKey) {
        return QStringLiteral("%1x (no goal)")
            .arg(fixed(
                run.number(key + QStringLiteral("_median")) / run.number(peerKey + QStringLiteral("_median")), 2));
    };
    report.add({QStringLiteral("save one round, synced (median / p99 of %1)").arg(runs(run, QStringLiteral("save_us"))),
        ms(run, QStringLiteral("save_us")),
        QStringLiteral("4 KiB write + fsync %1 ms")
            .arg(fixed(run.number(QStringLiteral("fsync_us_median")) / kUsPerMs, 2)),
        ratio(QStringLiteral("save_us"), QStringLiteral("fsync_us"))});
    const QString listed = QString::number(run.integer(QStringLiteral("listed_rounds")));
    report.add({QStringLiteral("list %1 rounds without joints (median / p99 of %2)")
                    .arg(listed, runs(run, QStringLiteral("list_us"))),
        ms(run, QStringLiteral("list_us")),
        QStringLiteral("with joints %1 ms")
            .arg(fixed(run.number(QStringLiteral("list_complete_us_median")) / kUsPerMs, 1)),
        ratio(QStringLiteral("list_us"), QStringLiteral("list_complete_us"))});
    const double poll = run.number(QStringLiteral("poll_us_median"));
    report.add({QStringLiteral("look for changes, none (median / p99 of %1)").arg(runs(run, QStringLiteral("poll_us"))),
        medianAndP99(run, QStringLiteral("poll_us")), kFramePeer,
        QStringLiteral("median = %1 frame (no goal)").arg(fixed(poll / (kMsPerFrame * 1000), 4))});
}

/// Importing 100,000 rounds, from a CSV as the record window's job and from
/// another record, against the sqlite3 shell inserting the same rows.
void imports(Report& report)
{
    const ProbeRun run = runProbe(QStringLiteral("bench_import"));
    if (!run.ok()) {
        report.addFailure(QStringLiteral("import"), run);
        return;
    }
    const double floorMs = run.number(QStringLiteral("shell_insert_us")) / kUsPerMs;
    const QString floor = floorMs > 0
        ? QStringLiteral("sqlite3 shell, same rows as SQL, one transaction: %1 ms").arg(fixed(floorMs, 0))
        : QStringLiteral("no sqlite3 shell to measure the floor with");
    const QString rounds = QStringLiteral("%1 rounds into a record of %2, on disk (one run)")
                               .arg(run.integer(QStringLiteral("imported_rounds")))
                               .arg(run.integer(QStringLiteral("kept_rounds")));
    const auto timed = [&](const QString& what, const QString& key) {
        const double importMs = run.number(key + QStringLiteral("_us")) / kUsPerMs;
        const double ratio = floorMs > 0 ? importMs / floorMs : 0;
        const bool ratioMet = floorMs <= 0 || ratio <= kImportFloorRatioGoal;
        report.add({QStringLiteral("import %1 of %2").arg(what, rounds),
            QStringLiteral("%1 ms").arg(fixed(importMs, 0)), floor,
            QStringLiteral("%1x (goal <= %2x, %3)")
                .arg(fixed(ratio, 2), fixed(kImportFloorRatioGoal, 0), verdict(ratioMet))});
        const double peakMiB = static_cast<double>(run.integer(key + QStringLiteral("_peak_kib"))) / kKiBPerMiB;
        report.add({QStringLiteral("  its peak memory over what the process held (VmHWM - VmRSS)"),
            QStringLiteral("%1 MiB").arg(fixed(peakMiB, 1)), QString(),
            QStringLiteral("goal <= %1 MiB, %2")
                .arg(fixed(kImportPeakGoalMiB, 0), verdict(peakMiB <= kImportPeakGoalMiB))});
    };
    timed(QStringLiteral("a CSV export, as a job,"), QStringLiteral("csv_import"));
    const double stallMs = run.number(QStringLiteral("csv_import_stall_us")) / kUsPerMs;
    report.add({QStringLiteral("  the event loop's longest stall meanwhile (1 ms timer)"),
        QStringLiteral("%1 ms").arg(fixed(stallMs, 1)), kFramePeer,
        QStringLiteral("goal < %1 ms, %2").arg(fixed(kImportStallGoalMs, 0), verdict(stallMs < kImportStallGoalMs))});
    const double waitMs = run.number(QStringLiteral("csv_import_save_wait_us")) / kUsPerMs;
    report.add({QStringLiteral("  another connection's longest save meanwhile (one every 10 ms)"),
        QStringLiteral("%1 ms").arg(fixed(waitMs, 0)), QString(),
        QStringLiteral("goal < %1 ms, %2")
            .arg(fixed(kImportSaveWaitGoalMs, 0), verdict(waitMs < kImportSaveWaitGoalMs))});
    timed(QStringLiteral("another record"), QStringLiteral("record_import"));
}

/// Saving a round from the result dialog, against one synced write on the same disk.
void saveClick(Report& report)
{
    const ProbeRun run = runProbe(QStringLiteral("bench_save_click"));
    if (!run.ok()) {
        report.addFailure(QStringLiteral("saving a round"), run);
        return;
    }
    report.add({QStringLiteral("saving a round: 点数保存 click, synced (median / p99 of %1)")
                    .arg(runs(run, QStringLiteral("save_click_us"))),
        ms(run, QStringLiteral("save_click_us")),
        QStringLiteral("4 KiB write + fsync %1").arg(ms(run, QStringLiteral("fsync_us"))),
        QStringLiteral("p99 ") + ratioText(run.number(QStringLiteral("save_click_us_p99")),
                                     run.number(QStringLiteral("fsync_us_p99")), kSaveClickRatioGoal)});
    report.add({QStringLiteral("  what a save adds to the record's log, %1 B, appended + fdatasync (%2 times)")
                    .arg(fixed(run.number(QStringLiteral("append_bytes")), 0), runs(run, QStringLiteral("append_us"))),
        ms(run, QStringLiteral("append_us")), QString(),
        QStringLiteral("click's p99 %1x its p99 (no goal)")
            .arg(fixed(run.number(QStringLiteral("save_click_us_p99")) / run.number(QStringLiteral("append_us_p99")),
                2))});
}

/// The record window over many rounds, the player's own or coached practice's:
/// its opening against reading the rounds shown alone, and its memory against
/// the game's without it.
void recordWindow(Report& report, bool coached)
{
    const ProbeRun run = coached ? runProbe(QStringLiteral("bench_record_window"), {QStringLiteral("--coached")})
                                 : runProbe(QStringLiteral("bench_record_window"));
    if (!run.ok()) {
        report.addFailure(QStringLiteral("record window"), run);
        return;
    }
    const QString rounds = coached ? QStringLiteral("%1 coached rounds (%2 shown)")
                                         .arg(run.integer(QStringLiteral("rounds")))
                                         .arg(run.integer(QStringLiteral("shown_rounds")))
                                   : QStringLiteral("%1 rounds").arg(run.integer(QStringLiteral("rounds")));
    report.add({QStringLiteral("record window of %1, open to first paint (median of %2)")
                    .arg(rounds, runs(run, QStringLiteral("open_us"))),
        medianAndSlowest(run, QStringLiteral("open_us")),
        QStringLiteral("reading the rounds alone %1 ms")
            .arg(fixed(run.number(QStringLiteral("read_us_median")) / kUsPerMs, 1)),
        ratioText(run.number(QStringLiteral("open_us_median")), run.number(QStringLiteral("read_us_median")),
            kRecordWindowRatioGoal)});
    const double game = run.number(QStringLiteral("game_rss_kib"));
    const double addedMiB = (run.number(QStringLiteral("open_rss_kib")) - game) / kKiBPerMiB;
    const double peakMiB
        = (run.number(QStringLiteral("open_hwm_kib")) - run.number(QStringLiteral("game_hwm_kib"))) / kKiBPerMiB;
    report.add({QStringLiteral("record window of %1, memory (VmRSS, one run)").arg(rounds),
        QStringLiteral("+%1 MiB (VmHWM +%2 MiB)").arg(fixed(addedMiB, 1), fixed(peakMiB, 1)),
        QStringLiteral("game shown, without it %1").arg(mib(game)),
        QStringLiteral("goal < %1 MiB, %2")
            .arg(fixed(kRecordWindowGoalMiB, 0), verdict(addedMiB < kRecordWindowGoalMiB))});
}

/// A check with coached practice on, its keeping and the coach's next time
/// included, against the same check with it off.
void coachedCheck(Report& report)
{
    const ProbeRun run = runProbe(QStringLiteral("bench_coached_check"));
    if (!run.ok()) {
        report.addFailure(QStringLiteral("coached CHEK"), run);
        return;
    }
    report.add({QStringLiteral("coached CHEK, kept synced, next time typed (median / p99 of %1)")
                    .arg(runs(run, QStringLiteral("coached_check_us"))),
        ms(run, QStringLiteral("coached_check_us")),
        QStringLiteral("off %1; 4 KiB write + fsync %2")
            .arg(ms(run, QStringLiteral("check_us")), ms(run, QStringLiteral("fsync_us"))),
        QStringLiteral("p99 over the two p99s ")
            + ratioText(run.number(QStringLiteral("coached_check_us_p99")),
                run.number(QStringLiteral("check_us_p99")) + run.number(QStringLiteral("fsync_us_p99")),
                kCoachedCheckRatioGoal)});
}

/// The coach's estimate over a long record, against the same number of rounds
/// from the staircase alone (fewer distinct display times, less work each);
/// and how often START draws a target near rest.
void coachEstimate(Report& report, const ProbeRun& run)
{
    if (!run.ok()) {
        report.addFailure(QStringLiteral("the estimate"), run);
        return;
    }
    const double p99Ms = run.number(QStringLiteral("estimate_us_p99")) / kUsPerMs;
    report.add({QStringLiteral("the estimate over %1 rounds at %2 times (median / p99 of %3)")
                    .arg(QString::number(run.integer(QStringLiteral("rounds"))),
                        QString::number(run.integer(QStringLiteral("distinct_times"))),
                        runs(run, QStringLiteral("estimate_us"))),
        ms(run, QStringLiteral("estimate_us")),
        QStringLiteral("staircase's rounds at %1 times %2 ms")
            .arg(QString::number(run.integer(QStringLiteral("staircase_distinct_times"))),
                fixed(run.number(QStringLiteral("staircase_estimate_us_median")) / kUsPerMs, 2)),
        QStringLiteral("goal < %1 ms, %2").arg(fixed(kEstimateGoalMs, 0), verdict(p99Ms < kEstimateGoalMs))});
    const auto share = [&](int difficulty) {
        return QStringLiteral("%1 %").arg(
            fixed(run.number(QStringLiteral("near_rest_ppm_%1").arg(difficulty)) / kPartsPerMillion * 100, 3));
    };
    report.add({QStringLiteral("targets near rest, difficulty 1 / 2 / 3 (of %1 draws each)")
                    .arg(run.integer(QStringLiteral("near_rest_draws"))),
        QStringLiteral("%1 / %2 / %3").arg(share(1), share(2), share(3)), QStringLiteral("-"),
        QStringLiteral("(no goal)")});
}

/// The record window's memory speed tab over a year of practice: chosen, and
/// after one more round, each to its chart painted; beside each, the levels
/// of the same rounds alone, in the same probe.
void memorySpeedTab(Report& report)
{
    const ProbeRun run = runProbe(QStringLiteral("bench_record_window"), {QStringLiteral("--year")});
    if (!run.ok()) {
        report.addFailure(QStringLiteral("memory speed tab"), run);
        return;
    }
    const QString year = QStringLiteral("%1 days at %2 rounds a day")
                             .arg(run.integer(QStringLiteral("days")))
                             .arg(run.integer(QStringLiteral("rounds")) / run.integer(QStringLiteral("days")));
    report.add({QStringLiteral("memory speed tab over %1, chosen to painted (median of %2)")
                    .arg(year, runs(run, QStringLiteral("speed_tab_us"))),
        medianAndSlowest(run, QStringLiteral("speed_tab_us")),
        QStringLiteral("every day's level of the same rounds alone %1 ms")
            .arg(fixed(run.number(QStringLiteral("year_days_us_median")) / kUsPerMs, 1)),
        ratioText(run.number(QStringLiteral("speed_tab_us_median")), run.number(QStringLiteral("year_days_us_median")),
            kSpeedTabRatioGoal)});
    report.add({QStringLiteral("the same, one more round: the window's update to painted (median of %1)")
                    .arg(runs(run, QStringLiteral("speed_update_us"))),
        medianAndSlowest(run, QStringLiteral("speed_update_us")),
        QStringLiteral("the levels alone %1 ms")
            .arg(fixed(run.number(QStringLiteral("year_one_more_us_median")) / kUsPerMs, 2)),
        ratioText(run.number(QStringLiteral("speed_update_us_median")),
            run.number(QStringLiteral("year_one_more_us_median")), kSpeedUpdateRatioGoal)});
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Timings and CPU shares suffer when other work competes for the cores; the
    // load average says how much did.
    QFile loadAverage(QStringLiteral("/proc/loadavg"));
    const QByteArray load = loadAverage.open(QIODevice::ReadOnly) ? loadAverage.readLine().split(' ').value(0) : "?";
    std::printf("Tormell benchmarks: %s build, QT_QPA_PLATFORM=offscreen, %d CPUs, load average %s.\n"
                "Takes a minute or two.\n\n",
        *BENCH_BUILD_TYPE != '\0' ? BENCH_BUILD_TYPE : "unnamed", QThread::idealThreadCount(), load.constData());
    std::fflush(stdout);

    Report report;
    PeerPeaks peers;
    startup(report, peers);
    idleCpu(report);
    rounds(report);
    drag(report);
    if (peers.bare > 0)
        peakMemory(report, peers);
    memoryGrowth(report);
    scoreRecord(report);
    imports(report);
    saveClick(report);
    recordWindow(report, false);
    recordWindow(report, true);
    coachedCheck(report);
    const ProbeRun coach = runProbe(QStringLiteral("bench_coach"));
    coachEstimate(report, coach);
    memorySpeedTab(report);
    report.print();
    return report.failed() ? EXIT_FAILURE : EXIT_SUCCESS;
}
