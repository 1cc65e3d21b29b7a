// The record window as a desktop window: it comes back where the player left
// it, or, with that place on no screen, beside the main window; and with
// nothing recorded it shows how rounds are kept instead of an empty chart.

#include "support/game.h"
#include "support/record_window.h"
#include "support/sample_round.h"
#include "support/test_main.h"
#include "ui/main_window.h"
#include "ui/player_settings.h"
#include "ui/record/memory_speed_chart.h"
#include "ui/record/round_table_model.h"
#include "ui/record/record_texts.h"
#include "ui/record/score_chart.h"
#include "ui/record/wrapped_tool_tip.h"
#include "widgets/canvas.h"

#include <QAction>
#include <QDateTimeAxis>
#include <QGuiApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QLabel>
#include <QLayout>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScreen>
#include <QSet>
#include <QSplitter>
#include <QSettings>
#include <QTest>
#include <QToolTip>

namespace {

ui::FrmSCORE& openRecord(Game& game)
{
    game.w().MNU点数->trigger();
    return *recordWindowOf(game.w());
}

void closeRecord(Game& game)
{
    game.w().scoreRecord()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestRecordWindow : public QObject {
    Q_OBJECT

private slots:
    void itComesBackWhereThePlayerLeftIt();
    void aPlaceOnNoScreenOpensBesideTheMainWindow();
    void anEmptyChartShowsTheHintAndNoTimes();
    void atItsSmallestNothingOverlaps();
    void aWholeDifficultyListsEveryDisplayTime();
    void theDaysChartTicksEachDateOnce_data();
    void theDaysChartTicksEachDateOnce();
    void tooltipsReadAsAColumn();
    void aScoreAnswersWithinAFewPixels();
};

// Guards against a place, size or splitter forgotten on close, or read back
// at the client's corner rather than the frame's, and a maximized window
// coming back at its normal size.
void TestRecordWindow::itComesBackWhereThePlayerLeftIt()
{
    Game game;
    const QRect left(QPoint(37, 5), QSize(1000, 640));
    ui::FrmSCORE& record = openRecord(game);
    record.resize(left.size());
    record.move(left.topLeft());
    auto* split = record.findChild<QSplitter*>(QStringLiteral("SplROUND"));
    split->setSizes({700, 250});
    const QList<int> sizes = split->sizes();
    closeRecord(game);

    ui::FrmSCORE& again = openRecord(game);
    QCOMPARE(again.pos(), left.topLeft());
    QCOMPARE(again.size(), left.size());
    QCOMPARE(again.findChild<QSplitter*>(QStringLiteral("SplROUND"))->sizes(), sizes);

    again.showMaximized();
    closeRecord(game);
    ui::FrmSCORE& maximized = openRecord(game);
    QVERIFY(maximized.isMaximized());
    maximized.showNormal();
    QCOMPARE(maximized.size(), left.size());
}

// Guards against a window put back on a screen that is gone, where no one can
// reach it, or opened at the corner of the screen or over its owner when the
// screen has room beside it.
void TestRecordWindow::aPlaceOnNoScreenOpensBesideTheMainWindow()
{
    Game game;
    const QSize size(1000, 700);
    QSettings settings = ui::playerSettings();
    settings.setValue(QStringLiteral("recordWindow/position"), QPoint(-5000, 5000));
    settings.setValue(QStringLiteral("recordWindow/size"), size);
    settings.sync();
    game.w().move(20, 40);

    ui::FrmSCORE& record = openRecord(game);
    QCOMPARE(record.size(), size);
    QVERIFY(!record.frameGeometry().intersects(game.w().frameGeometry()));
    QCOMPARE(record.frameGeometry().top(), game.w().frameGeometry().top());
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(record.frameGeometry()));
}

// Guards against the time axis of an empty chart reading the epoch's date
// over and over, and against the hint staying once rounds are there.
void TestRecordWindow::anEmptyChartShowsTheHintAndNoTimes()
{
    ui::ScoreChart chart;
    const auto showsHintAlone = [&chart] {
        return chart.emptyHint().isVisibleTo(&chart) && !chart.timeAxis().isVisible()
            && chart.emptyHint().text().startsWith(QStringLiteral("まだ記録がありません"));
    };
    QVERIFY(showsHintAlone());

    QList<record::RoundSummary> rounds(2);
    rounds[0].playedAt = QDateTime(QDate(2024, 3, 9), QTime(20, 0));
    rounds[1].playedAt = rounds[0].playedAt.addDays(1);
    chart.setRounds(rounds);
    QVERIFY(chart.timeAxis().isVisible() && chart.timeAxis().labelsVisible());
    QVERIFY(!chart.emptyHint().isVisibleTo(&chart));

    chart.setRounds({});
    QVERIFY(showsHintAlone());
}

// Guards against a window whose smallest size lays its controls over each
// other, cuts the summary, the table's columns or rows, or the chart's labels
// and legend, or is larger than a small laptop's screen; and a verdict column
// narrower than its verdicts, those of rounds saved while it shows among them.
void TestRecordWindow::atItsSmallestNothingOverlaps()
{
    Game game;
    saveRounds(game.record.store, 3, 0);
    ui::FrmSCORE& record = openRecord(game);
    QVERIFY(record.minimumWidth() <= 1366 && record.minimumHeight() <= 700);
    record.resize(record.minimumSize());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QList<QWidget*> controls {record.Label1, record.CmbSETTING, record.LblSUMMARY, record.LblHINT, record.TabCHART,
        record.GrdROUND, record.PicROUND, record.ChkCOACH, record.LblCOACH, record.CmdCOACH, record.CmdDELETE,
        record.CmdEXPORT, record.CmdIMPORT, record.CmdBACKUP, record.CmdCLOSE};
    const auto inWindow = [&record](const QWidget* w) { return QRect(w->mapTo(&record, QPoint()), w->size()); };
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QWidget* one = controls[i];
        // No figure, so no line on how to read one.
        QVERIFY2(one->isVisible() != (one == record.LblHINT), qPrintable(one->objectName()));
        QVERIFY2(record.rect().contains(inWindow(one)), qPrintable(one->objectName()));
        for (qsizetype j = i + 1; j < controls.size() && one->isVisible(); ++j)
            QVERIFY2(!controls[j]->isVisible() || !inWindow(one).intersects(inWindow(controls[j])),
                qPrintable(one->objectName() + QStringLiteral(" over ") + controls[j]->objectName()));
    }
    QVERIFY(record.LblSUMMARY->width() >= record.LblSUMMARY->sizeHint().width());

    const QHeaderView& header = *record.GrdROUND->horizontalHeader();
    QVERIFY2(header.length() <= record.GrdROUND->viewport()->width(), "a column scrolled out of view");
    for (int column = 0; column < header.count(); ++column)
        QVERIFY(header.sectionSize(column) >= header.sectionSizeHint(column));
    QVERIFY(record.GrdROUND->viewport()->height() >= 5 * record.GrdROUND->verticalHeader()->defaultSectionSize());
    const int verdict = ui::RoundTableModel::Verdict;
    const auto verdictsFit = [&] {
        for (int row = 0; row < record.rounds().rowCount(); ++row)
            if (header.sectionSize(verdict)
                <= record.GrdROUND->fontMetrics().horizontalAdvance(record.rounds().roundAt(row).verdict))
                return false;
        return true;
    };
    QVERIFY(verdictsFit());
    // A round saved meanwhile with a longer verdict widens its column.
    record::RoundRecord longer = sampleRound(3);
    longer.verdict = QStringLiteral("記録された中でいちばん長い判定の文");
    QVERIFY(!record::ScoreStore(game.record.store.path()).append(longer));
    game.record.store.pollForChanges();
    QCOMPARE(record.rounds().rowCount(), 4);
    QVERIFY(verdictsFit());

    // Room for every tick's label side by side, the score axis's five one
    // above another, and the legend's entries whole.
    QChart& chart = *record.ChtSCORE->chart();
    const QDateTimeAxis& time = record.ChtSCORE->timeAxis();
    const QFontMetrics labels(time.labelsFont());
    const QString widest = time.min().toString(time.format());
    QVERIFY(chart.plotArea().width() >= time.tickCount() * labels.horizontalAdvance(widest));
    QVERIFY(chart.plotArea().height() >= 5 * labels.height());
    QVERIFY(chart.legend()->geometry().width() >= chart.legend()->effectiveSizeHint(Qt::PreferredSize).width());
    record.TabCHART->setCurrentWidget(record.ChtSPEED);
    const QLogValueAxis& seconds = record.ChtSPEED->secondsAxis();
    QVERIFY(record.ChtSPEED->chart()->plotArea().height()
        >= QFontMetrics(seconds.titleFont()).horizontalAdvance(seconds.titleText()));
}

// Guards against a difficulty's rounds split by display time with no view of
// them all, as coached practice plays them, a score whose display time cannot
// be told there, a list that grows by every time the coach chose, and a
// window that opens on one time after coached play.
void TestRecordWindow::aWholeDifficultyListsEveryDisplayTime()
{
    Game game;
    const QList<double> times {0.53, 0.54, 0.63, 0.41, 0.44};
    const qsizetype byHand = 3; // then coached practice's
    QList<record::RoundRecord> rounds;
    for (int n = 0; n < times.size(); ++n) {
        rounds.append(sampleRound(3 * n)); // difficulty 1, 3 s apart
        rounds.back().displaySeconds = times[n];
        rounds.back().coached = n >= byHand;
        QVERIFY(!game.record.store.append(rounds.back()));
    }
    ui::FrmSCORE& record = openRecord(game);
    QStringList listed;
    for (int item = 0; item < record.CmbSETTING->count(); ++item)
        listed << record.CmbSETTING->itemText(item);
    QCOMPARE(listed,
        (QStringList {QStringLiteral("難易度 1・すべての表示時間"), QStringLiteral("難易度 1・表示時間 0.53 秒"),
            QStringLiteral("難易度 1・表示時間 0.54 秒"), QStringLiteral("難易度 1・表示時間 0.63 秒")}));
    QCOMPARE(record.CmbSETTING->currentIndex(), 0);
    QCOMPARE(record.rounds().rowCount(), 5);
    const qint64 second = rounds[1].playedAt.toMSecsSinceEpoch();
    QCOMPARE(record.ChtSCORE->pointText(double(second + 1000)),
        QStringLiteral("2026/12/07 16:05:06\n表示時間 0.54 秒・3点"));
    record.CmbSETTING->setCurrentIndex(2);
    QCOMPARE(record.rounds().rowCount(), 1);
}

// Guards against a lone day drawn without its interval or ticked twice, a
// long history's dates run together, and an empty chart titling its axes
// with an ellipsis for want of room.
void TestRecordWindow::theDaysChartTicksEachDateOnce_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("ticks");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("forty") << 40 << 5; // every eighth date, from the first
}

void TestRecordWindow::theDaysChartTicksEachDateOnce()
{
    QFETCH(int, days);
    std::vector<core::DayLevel> levels;
    for (int day = 0; day < days; ++day) {
        core::DayLevel level {QDate(2026, 11, 1).addDays(day), {}};
        level.level.fit.estimate = core::MemorySpeed {0.5, 0.4, 0.6};
        levels.push_back(level);
    }
    ui::MemorySpeedChart chart;
    chart.setDays(levels);
    const QStringList ticks = chart.dayTicks();
    QTEST(int(ticks.size()), "ticks");
    QCOMPARE(QSet<QString>(ticks.cbegin(), ticks.cend()).size(), ticks.size());
    QCOMPARE(chart.secondsAxis().isTitleVisible(), days > 0);
    QCOMPARE(chart.dayAxis().isTitleVisible(), days > 0);
    // A lone day's interval stands as a line from its low to its high end.
    const QList<QAbstractSeries*> series = chart.chart()->series();
    QCOMPARE(std::any_of(series.cbegin(), series.cend(), [](QAbstractSeries* each) {
        const auto* line = qobject_cast<QLineSeries*>(each);
        return line && line->count() == 2
            && line->points() == QList<QPointF> {{line->at(0).x(), 0.4}, {line->at(0).x(), 0.6}};
    }), days == 1);
}

// Guards against a tooltip one line across the screen, a paragraph whose last
// word or two stand alone on a line, and a word lost to the breaks.
void TestRecordWindow::tooltipsReadAsAColumn()
{
    const QString meaning = ui::memorySpeedMeaning() + QStringLiteral("\nA line of Latin words, broken at its blanks.");
    const QString wrapped = ui::wrappedToolTipText(meaning);
    const QFontMetrics metrics(QToolTip::font());
    const int widest = 30 * QFontInfo(QToolTip::font()).pixelSize();
    const auto unbroken = [](QString text) { return text.remove(u'\n').remove(u' '); };
    QCOMPARE(unbroken(wrapped), unbroken(meaning));
    const QStringList paragraphs = meaning.split(u'\n');
    QVERIFY(wrapped.count(u'\n') > paragraphs.size()); // some paragraph was too long for a line
    qsizetype line = 0;
    const QStringList lines = wrapped.split(u'\n');
    for (const QString& paragraph : paragraphs) {
        int longest = 0, last = 0;
        for (QString joined; joined.size() < unbroken(paragraph).size(); ++line) {
            QVERIFY2(metrics.horizontalAdvance(lines[line]) <= widest, qPrintable(lines[line]));
            joined += unbroken(lines[line]);
            last = metrics.horizontalAdvance(lines[line]);
            longest = std::max(longest, last);
        }
        QVERIFY2(last * 3 >= longest, qPrintable(paragraph));
    }

    Game game;
    ui::FrmSCORE& record = openRecord(game);
    // Laid out in lines as it is first shown.
    QVERIFY(record.ChtSPEED->toolTip().startsWith(ui::memorySpeedMeaning()));
    // Asked of the chart's drawing area, under the pointer, as the player asks.
    QWidget& area = *record.ChtSPEED->viewport();
    QHelpEvent asked(QEvent::ToolTip, QPoint(1, 1), area.mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(&area, &asked);
    QCOMPARE(record.ChtSPEED->toolTip().split(u'\n').first(), lines.first());
    QToolTip::hideText();
}

// Guards against a score's tooltip found only on its two-pixel line, or
// given for a point far from the pointer.
void TestRecordWindow::aScoreAnswersWithinAFewPixels()
{
    ui::ScoreChart chart;
    chart.resize(600, 400);
    QList<record::RoundSummary> rounds(3);
    for (int n = 0; n < rounds.size(); ++n) {
        rounds[n].playedAt = QDateTime(QDate(2026, 12, 8), QTime(20, n));
        rounds[n].score = 30 * n;
    }
    chart.setRounds(rounds);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    const QPointF drawn = chart.drawnAt(rounds[1]);
    QCOMPARE(chart.pointTextNear(drawn + QPointF(4, -3)), ui::roundText(rounds[1]));
    QCOMPARE(chart.pointTextNear(drawn + QPointF(0, 20)), QString());
}

TORMELL_TEST_MAIN(TestRecordWindow)
#include "tst_record_window.moc"
