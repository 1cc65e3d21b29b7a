// Keeping rounds: 点数保存 stores the checked round, a failed save keeps the
// dialog open, and the 点数 menu shows the record and follows it.

#include "core/joints.h"
#include "record/schema.h"
#include "record/score_store.h"
#include "support/brief_notice.h"
#include "support/checked_round.h"
#include "support/game.h"
#include "support/record_files.h"
#include "support/record_window.h"
#include "support/round_sets.h"
#include "support/sample_round.h"
#include "support/test_main.h"
#include "toolkit/numeric_text.h"
#include "ui/record/round_sort_model.h"
#include "ui/record/round_table_model.h"
#include "ui/record/score_chart.h"
#include "ui/result_dialog.h"
#include "widgets/status_bar.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QDir>
#include <QLabel>
#include <QLineSeries>
#include <QFileIconProvider>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <algorithm>

namespace {

QList<record::RoundSummary> saved(Game& game)
{
    auto rounds = game.record.store.rounds();
    return rounds.value;
}

void clickButton(QMessageBox& box, QMessageBox::StandardButton which)
{
    QTest::mouseClick(box.button(which), Qt::LeftButton);
}

qint64 idAt(const QAbstractItemModel& table, int row)
{
    return table.index(row, 0).data(ui::RoundTableModel::IdRole).toLongLong();
}

// The ids of a table's rounds, top to bottom.
QList<qint64> idsOnView(const QAbstractItemModel& table)
{
    QList<qint64> ids;
    for (int row = 0; row < table.rowCount(); ++row)
        ids.append(idAt(table, row));
    return ids;
}

QList<qint64> selectedIds(const QTableView& view)
{
    QList<qint64> ids;
    for (const QModelIndex& row : view.selectionModel()->selectedRows())
        ids.append(idAt(*view.model(), row.row()));
    return ids;
}

void clickRow(QTableView& view, int row)
{
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(view.model()->index(row, 0)).center());
}

// Opens the record window from the menu and waits until it is on screen.
ui::FrmSCORE& openRecord(ui::Frm001& w)
{
    w.MNU点数->trigger();
    ui::FrmSCORE& record = *recordWindowOf(w);
    if (!QTest::qWaitForWindowExposed(&record))
        qWarning("the record window was never exposed");
    return record;
}

} // namespace

class TestScoreRecord : public QObject {
    Q_OBJECT

private slots:
    void qtsFileDialogSpeaksJapanese();
    void saveKeepsTheRoundTheDialogShowsAndLeavesTheWindowAsItIs();
    void onlySaveStoresARound();
    void aSaveThatFailsKeepsTheDialogOpenWithTheReason();
    void aFailedSavesReasonAndLongPathAreReadInFull();
    void aNoticeOfAFileMovedAsideLeavesTheGamePlayable();
    void theRecordWindowShowsAndFollowsTheSavedRounds();
    void deletingAsksFirstAndRemovesOnlyOnYes();
    void theTimeAxisHoldsTheRoundsAndNoTwoTicksReadAlike_data();
    void theTimeAxisHoldsTheRoundsAndNoTwoTicksReadAlike();
    void theTableSortsByAColumnWithTiesInPlayOrder_data();
    void theTableSortsByAColumnWithTiesInPlayOrder();
    void theTableFollowsTheRecordRowByRow();
    void aRoundSavedByAnotherCopyShowsWithinTwoSeconds();
    void aReplacedFileIsNeverEditedBlind();
    void aRoundThatCannotBeDrawnLeavesTheSummaryInPlace();
    void aNoticeOfTheRecordOpensAboveTheWindowItIsAbout();
    void aRecordThatCannotBeWrittenOffersNoRemoval();
    void anExportSaysBrieflyThatItWorkedAndOnlyThen();
    void anImportRunsOffTheWindowShowsItsProgressAndStops();
    void theTableKeepsThePlayersPlaceAsRoundsComeAndGo();
    void aSettingWithoutADifficultyStaysChosen();
    void theSelectionFollowsItsRoundThroughASort();
};

// Guards against a save that stores other values than the dialog shows, the
// joints after a later drag, a save that touches the main window, or one
// that goes unconfirmed.
void TestScoreRecord::saveKeepsTheRoundTheDialogShowsAndLeavesTheWindowAsItIs()
{
    Game game;
    ui::Frm001& w = game.w();
    ui::FrmMSG& dialog = checkARound(game);
    const core::Joints target = core::jointsOf(w.figure().DXY_TGT);
    const core::Joints player = core::jointsOf(w.figure().DXY_USR);
    const QString status = w.StatusBar1->text();
    w.Picture1_DragOver(3000, 3000); // after the check: not part of the round

    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    QVERIFY(dialog.isHidden());
    QCOMPARE(w.StatusBar1->text(), status);

    const auto rounds = saved(game);
    QCOMPARE(rounds.size(), 1);
    const auto round = game.record.store.round(rounds.first().id);
    QVERIFY(!round.problem);
    const record::RoundRecord& r = round.value;
    QCOMPARE(toolkit::numberText(r.difficulty), dialog.LBLDATA1->text());
    QCOMPARE(toolkit::numberText(r.displaySeconds), dialog.LBLDATA2->text());
    QCOMPARE(toolkit::numberText(r.score), dialog.LBLDATA3->text());
    QCOMPARE(toolkit::numberText(r.elapsedSeconds), dialog.LBLDATA4->text());
    QVERIFY(status.startsWith(r.verdict + QStringLiteral("  ")));
    QCOMPARE(r.gridLines, 7);
    QCOMPARE(r.target, target);
    QCOMPARE(r.player, player);
    QVERIFY(qAbs(r.playedAt.secsTo(QDateTime::currentDateTime())) < 60);
    QCOMPARE(r.playedAt.offsetFromUtc(), QDateTime::currentDateTime().offsetFromUtc());

    // Said briefly, inside the main window, then gone by itself.
    const QLabel* notice = briefNotice(w);
    QVERIFY(notice);
    QCOMPARE(notice->accessibleName(), QStringLiteral("点数を保存しました。"));
    QVERIFY(w.rect().contains(notice->geometry()));
    QTRY_VERIFY_WITH_TIMEOUT(!briefNotice(w), 5000); // it stays three seconds
}

// Guards against 終了 or the close box saving, as 点数保存 alone may, and
// against 点数保存 saying it saved a check that followed no target.
void TestScoreRecord::onlySaveStoresARound()
{
    Game game;
    QTest::mouseClick(checkARound(game).Command2, Qt::LeftButton);
    checkARound(game).close();
    game.w().Command2_Click();
    QTest::mouseClick(game.w().resultDialog()->Command1, Qt::LeftButton);
    QVERIFY(!briefNotice(game.w()));
    QVERIFY(saved(game).isEmpty());
    QVERIFY(!QFile::exists(game.record.folder.filePath(QStringLiteral("scores.sqlite"))));
}

// Guards against a failed save that closes the dialog, or is confirmed, as if it had worked.
void TestScoreRecord::aSaveThatFailsKeepsTheDialogOpenWithTheReason()
{
    Game game;
    // A folder where the record file should be: it can be neither opened nor created.
    QVERIFY(QDir(game.record.folder.path()).mkdir(QStringLiteral("scores.sqlite")));
    ui::FrmMSG& dialog = checkARound(game);
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QVERIFY(!briefNotice(game.w()));
    QVERIFY(dialog.LblSAVE->isVisible());
    QVERIFY2(dialog.LblSAVE->text().startsWith(QStringLiteral("点数を保存できませんでした。")),
             qPrintable(dialog.LblSAVE->text()));
    QVERIFY(dialog.geometry().contains(dialog.LblSAVE->geometry().translated(dialog.geometry().topLeft())));

    // Once the way is clear, the same round goes in.
    QVERIFY(QDir(game.record.folder.path()).rmdir(QStringLiteral("scores.sqlite")));
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    QVERIFY(dialog.isHidden());
    QCOMPARE(saved(game).size(), 1);
}

// Guards against a failed save's message cut short: the reason after a long
// path, a note of a few lines, or a path that runs past the note's edge.
void TestScoreRecord::aFailedSavesReasonAndLongPathAreReadInFull()
{
    // One folder name too wide for the dialog: it has to break inside it.
    constexpr int kLongName = 250; // the longest a file system takes is 255
    constexpr int kPathLength = 300;
    Game game(QString(kLongName, u'r') + QStringLiteral("/records/scores.sqlite"));
    const QString path = game.record.store.path();
    QVERIFY(path.size() >= kPathLength);
    QVERIFY(QDir().mkpath(path)); // a folder in the file's place
    ui::FrmMSG& dialog = checkARound(game);
    const QRect buttons = dialog.Command1->geometry().united(dialog.Command2->geometry());
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);

    const QLabel& note = *dialog.LblSAVE;
    QVERIFY(note.isVisible());
    const QString text = note.text();
    const qsizetype why = text.indexOf(QStringLiteral("書き込みが許されていません"));
    QVERIFY2(why >= 0 && why < text.indexOf(path), qPrintable(text));

    QVERIFY(note.height() >= note.heightForWidth(note.width()));
    // However its lines break, they are no fewer than if they broke anywhere.
    const QRect anywhere = note.fontMetrics().boundingRect(
        QRect(QPoint(0, 0), QSize(note.width(), QWIDGETSIZE_MAX)), Qt::TextWrapAnywhere, text);
    QVERIFY2(note.height() >= anywhere.height(),
        qPrintable(QStringLiteral("%1 < %2").arg(note.height()).arg(anywhere.height())));
    QVERIFY(dialog.rect().contains(note.geometry()));
    QCOMPARE(dialog.Command1->geometry().united(dialog.Command2->geometry()), buttons);
    QVERIFY(note.geometry().top() > buttons.bottom());
}

// Guards against a notice that blocks the main window (a window-modal box)
// until the player dismisses it.
void TestScoreRecord::aNoticeOfAFileMovedAsideLeavesTheGamePlayable()
{
    Game game;
    ui::Frm001& w = game.w();
    writeBytes(game.record.store.path(), QByteArrayLiteral("not a score record"));
    QTest::mouseClick(checkARound(game).Command1, Qt::LeftButton);

    auto* notice = w.findChild<QMessageBox*>();
    QVERIFY(notice && notice->isVisible());
    QCOMPARE(notice->windowModality(), Qt::NonModal);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(w.StatusBar1->text() != QStringLiteral("READY"));
    // Through the window system, which holds back input from a blocked window.
    QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, w.Command4->mapTo(&w, w.Command4->rect().center()));
    QCOMPARE(w.StatusBar1->text(), QStringLiteral("READY"));
    QVERIFY(notice->isVisible());
}

// Guards against a record window that shows nothing of a save, misses rounds
// saved while it is open (its score chart out of view among them), or opens twice.
void TestScoreRecord::theRecordWindowShowsAndFollowsTheSavedRounds()
{
    Game game;
    ui::Frm001& w = game.w();
    QTest::mouseClick(checkARound(game).Command1, Qt::LeftButton);
    w.MNU点数->trigger();
    ui::FrmSCORE* record = recordWindowOf(w);
    QVERIFY(record && record->isVisible());
    QCOMPARE(record->CmbSETTING->count(), 2); // the difficulty whole, and the setting
    QCOMPARE(record->rounds().rowCount(), 1);
    QCOMPARE(record->ChtSCORE->scores().count(), 1);
    QCOMPARE(record->shownRound(), saved(game).first().id);
    QVERIFY(record->LblSUMMARY->text().startsWith(QStringLiteral("回数：1　")));

    QTest::mouseClick(checkARound(game).Command1, Qt::LeftButton);
    QCOMPARE(record->rounds().rowCount(), 2);
    QCOMPARE(record->ChtSCORE->scores().count(), 2);
    QCOMPARE(record->ChtSCORE->averages().count(), 2);
    QCOMPARE(record->shownRound(), saved(game).last().id);
    // A save while the other chart is on view reaches this one once it is.
    record->TabCHART->setCurrentIndex(1);
    QTest::mouseClick(checkARound(game).Command1, Qt::LeftButton);
    record->TabCHART->setCurrentIndex(0);
    QCOMPARE(record->ChtSCORE->scores().count(), 3);

    w.MNU点数->trigger();
    QCOMPARE(w.findChildren<ui::FrmSCORE*>().size(), 1);
}

// Guards against rounds removed without asking, or on No, and a question
// whose buttons read English in a Japanese game.
void TestScoreRecord::deletingAsksFirstAndRemovesOnlyOnYes()
{
    Game game;
    ui::Frm001& w = game.w();
    for (int round = 0; round < 2; ++round)
        QTest::mouseClick(checkARound(game).Command1, Qt::LeftButton);
    w.MNU点数->trigger();
    ui::FrmSCORE& record = *recordWindowOf(w);
    QCOMPARE(record.GrdROUND->selectionModel()->selectedRows().size(), 1);

    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        if (answer == QMessageBox::No) { // the table's key asks as the button does
            record.activateWindow();
            record.GrdROUND->setFocus();
            QVERIFY(QTest::qWaitForWindowActive(&record));
            QTest::keyClick(record.GrdROUND, Qt::Key_Delete);
        } else
            QTest::mouseClick(record.CmdDELETE, Qt::LeftButton);
        auto* confirm = record.findChild<QMessageBox*>(QStringLiteral("confirmDelete"));
        QVERIFY(confirm && confirm->isVisible());
        QCOMPARE(confirm->button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)")); // in the C locale too
        clickButton(*confirm, answer);
        QVERIFY(jobEnded(record));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QCOMPARE(saved(game).size(), 1);
    QCOMPARE(record.rounds().rowCount(), 1);
}

void TestScoreRecord::theTimeAxisHoldsTheRoundsAndNoTwoTicksReadAlike_data()
{
    QTest::addColumn<QDateTime>("first");
    QTest::addColumn<qint64>("secondsToLast");
    const QDateTime evening(QDate(2024, 3, 9), QTime(20, 0));
    constexpr qint64 hour = 60 * 60, day = 24 * hour;
    QTest::newRow("one round") << evening << qint64 {0};
    QTest::newRow("seconds apart") << evening << qint64 {3};
    QTest::newRow("within a minute") << evening << qint64 {23};
    QTest::newRow("minutes apart") << evening << qint64 {7 * 60};
    QTest::newRow("across midnight") << evening << 8 * hour;
    QTest::newRow("a day and a half apart") << evening << 36 * hour;
    QTest::newRow("a month apart") << evening << 30 * day;
    QTest::newRow("across the new year") << QDateTime(QDate(2023, 12, 20), QTime(9, 0)) << 40 * day;
    QTest::newRow("four years apart") << evening << 4 * 365 * day;
}

// Guards against tick labels that repeat (a minute's rounds under hours and
// minutes, years under days of the month) and rounds left off the axis.
void TestScoreRecord::theTimeAxisHoldsTheRoundsAndNoTwoTicksReadAlike()
{
    QFETCH(QDateTime, first);
    QFETCH(qint64, secondsToLast);
    QList<record::RoundSummary> rounds(2);
    rounds[0].playedAt = first;
    rounds[1].playedAt = first.addSecs(secondsToLast);
    ui::ScoreChart chart;
    chart.setRounds(rounds);

    const QDateTimeAxis& axis = chart.timeAxis();
    QVERIFY(axis.min() <= rounds[0].playedAt && rounds[1].playedAt <= axis.max());
    QStringList labels;
    const qint64 spacing = axis.min().msecsTo(axis.max()) / (axis.tickCount() - 1);
    for (int tick = 0; tick < axis.tickCount(); ++tick)
        labels.append(axis.min().addMSecs(tick * spacing).toString(axis.format()));
    QCOMPARE(QSet<QString>(labels.cbegin(), labels.cend()).size(), labels.size());
}

void TestScoreRecord::theTableSortsByAColumnWithTiesInPlayOrder_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QList<qint64>>("ids");
    using Model = ui::RoundTableModel;
    QTest::newRow("date descending, by the time played, not the id")
        << int {Model::Date} << Qt::DescendingOrder << QList<qint64> {4, 1, 3, 2};
    QTest::newRow("difficulty, a missing one last")
        << int {Model::Difficulty} << Qt::AscendingOrder << QList<qint64> {3, 1, 4, 2};
    QTest::newRow("display time, equal times in play order")
        << int {Model::DisplayTime} << Qt::AscendingOrder << QList<qint64> {2, 3, 4, 1};
    QTest::newRow("score, equal scores in play order")
        << int {Model::Score} << Qt::AscendingOrder << QList<qint64> {2, 1, 3, 4};
    QTest::newRow("score descending, all reversed")
        << int {Model::Score} << Qt::DescendingOrder << QList<qint64> {4, 3, 1, 2};
    QTest::newRow("elapsed time as a number, not as text")
        << int {Model::Elapsed} << Qt::AscendingOrder << QList<qint64> {4, 2, 1, 3};
    QTest::newRow("verdict descending") << int {Model::Verdict} << Qt::DescendingOrder << QList<qint64> {2, 3, 1, 4};
}

// Guards against a sort that mixes up its keys (one column sorted by
// another's values, numbers by their text), breaks ties at random, or is
// thrown out of order by a missing value (a NULL in the file, read as NaN).
void TestScoreRecord::theTableSortsByAColumnWithTiesInPlayOrder()
{
    QFETCH(int, column);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QList<qint64>, ids);
    struct Row {
        int minutesIn;
        double difficulty, displaySeconds, elapsedSeconds;
        int score;
        const char* verdict;
    };
    const Row rows[] = {{20, 2, 1.5, 10.25, 70, "b"}, {0, qQNaN(), 0.5, 9.5, 50, "c"}, {10, 1, 0.75, 31, 70, "b"},
        {30, 2, 0.75, 2, 90, "a"}};
    const QDateTime start(QDate(2024, 5, 1), QTime(9, 0));
    QList<record::RoundSummary> rounds;
    for (const Row& row : rows) {
        record::RoundSummary& round = rounds.emplace_back();
        round.id = rounds.size();
        round.playedAt = start.addSecs(60 * row.minutesIn);
        round.difficulty = row.difficulty;
        round.displaySeconds = row.displaySeconds;
        round.elapsedSeconds = row.elapsedSeconds;
        round.score = row.score;
        round.verdict = QString::fromLatin1(row.verdict);
    }
    ui::RoundTableModel table;
    ui::RoundSortModel sorted(table);
    table.setRounds(rounds);
    sorted.sort(column, order);
    QCOMPARE(idsOnView(sorted), ids);
}

// Guards against a table that resets while some rows stay (a view then loses
// its selection and place), rows left behind or doubled, a round read again
// with other values (a record replaced by another) kept as it was, and a
// sorted model that breaks Qt's rules for models.
void TestScoreRecord::theTableFollowsTheRecordRowByRow()
{
    ui::RoundTableModel table;
    ui::RoundSortModel sorted(table);
    const QAbstractItemModelTester tableRules(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QAbstractItemModelTester sortedRules(&sorted, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QList<record::RoundSummary> rounds;
    for (int n = 1; n <= 6; ++n) {
        record::RoundSummary& round = rounds.emplace_back(sampleRound(n));
        round.id = n;
        round.score = 10 * n;
    }
    sorted.sort(ui::RoundTableModel::Score, Qt::DescendingOrder);
    table.setRounds(rounds.mid(0, 4));
    QCOMPARE(idsOnView(sorted), (QList<qint64> {4, 3, 2, 1}));

    QSignalSpy resets(&sorted, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&sorted, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&sorted, &QAbstractItemModel::rowsRemoved);
    table.setRounds({rounds[0], rounds[2], rounds[3], rounds[4], rounds[5]});
    QCOMPARE(idsOnView(sorted), (QList<qint64> {6, 5, 4, 3, 1}));
    QCOMPARE(removed.size(), 1);
    rounds[2].score = 99; // the same id, another round
    table.setRounds({rounds[0], rounds[2], rounds[3], rounds[4], rounds[5]});
    QCOMPARE(idsOnView(sorted), (QList<qint64> {3, 6, 5, 4, 1}));
    sorted.sort(ui::RoundTableModel::Score, Qt::AscendingOrder);
    QCOMPARE(idsOnView(sorted), (QList<qint64> {1, 4, 5, 6, 3}));
    QVERIFY(inserted.size() >= 2);
    QCOMPARE(resets.size(), 0);
    table.setRounds({});
    QCOMPARE(sorted.rowCount(), 0);
}

// Guards against a record window that learns of another copy's save only
// when it is activated, or not at all.
void TestScoreRecord::aRoundSavedByAnotherCopyShowsWithinTwoSeconds()
{
    constexpr int kSoonMs = 2000;
    Game game;
    record::ScoreStore elsewhere(game.record.store.path());
    QVERIFY(!saveRounds(elsewhere, 1).isEmpty());
    ui::FrmSCORE& record = openRecord(game.w());
    QCOMPARE(record.rounds().rowCount(), 1);

    const QList<qint64> later = saveRounds(elsewhere, 1, 1);
    QVERIFY(!later.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(record.rounds().rowCount(), 2, kSoonMs);
    QCOMPARE(record.shownRound(), later.first()); // the player was on the newest
}

// Guards against a window that keeps a replaced file's rounds on view, and
// a removal of a round listed from it that removes the new file's round of
// the same id: another copy moved the file aside and began a new one, and a
// read (the coach's, say) opened the new one before the window looked.
void TestScoreRecord::aReplacedFileIsNeverEditedBlind()
{
    constexpr int kSoonMs = 2000;
    Game game;
    QVERIFY(!saveRounds(game.record.store, 3).isEmpty()); // best 6 points
    ui::FrmSCORE& record = openRecord(game.w());
    QVERIFY(record.LblSUMMARY->text().contains(QStringLiteral("最高：6点")));
    const QString path = game.record.store.path();
    QVERIFY(QFile::rename(path, path + QStringLiteral(".aside")));
    {
        record::ScoreStore anotherCopy(path);
        QVERIFY(!saveRounds(anotherCopy, 3, 10).isEmpty()); // the same ids, best 36 points
    }
    QCOMPARE(game.record.store.rounds().value.size(), 3);

    QTest::mouseClick(record.CmdDELETE, Qt::LeftButton); // the newest, listed from the file moved aside
    auto* confirm = record.findChild<QMessageBox*>(QStringLiteral("confirmDelete"));
    QVERIFY(confirm);
    clickButton(*confirm, QMessageBox::Yes);
    QVERIFY(jobEnded(record));
    QCOMPARE(saved(game).size(), 3);
    const auto told = record.findChildren<QMessageBox*>();
    QVERIFY(std::any_of(told.begin(), told.end(),
        [](const QMessageBox* box) { return box->text().contains(QStringLiteral("入れ替わった")); }));
    QTRY_VERIFY_WITH_TIMEOUT(record.LblSUMMARY->text().contains(QStringLiteral("最高：36点")), kSoonMs);
}

// Guards against one round's damaged joints hiding the whole record's summary.
void TestScoreRecord::aRoundThatCannotBeDrawnLeavesTheSummaryInPlace()
{
    Game game;
    const QList<qint64> ids = saveRounds(game.record.store, 2);
    RawFile(game.record.store.path())
        .run(QStringLiteral("UPDATE round_joints SET player = zeroblob(100) WHERE round_id = ?"), {ids.last()});
    ui::FrmSCORE& record = openRecord(game.w()); // on the newest, the damaged one
    QVERIFY2(record.LblSUMMARY->text().startsWith(QStringLiteral("回数：2")), qPrintable(record.LblSUMMARY->text()));
    QVERIFY(record.LblROUND->isVisible() && record.LblROUND->text().contains(QStringLiteral("描けません")));
    clickRow(*record.GrdROUND, 1); // the older one, sorted newest first
    QVERIFY(record.LblROUND->isHidden());
    QCOMPARE(record.shownRound(), ids.first());
}

// Guards against the notice that a damaged file was moved aside opening
// under the record window that caused it, which then shows an empty record
// as if the history were wiped.
void TestScoreRecord::aNoticeOfTheRecordOpensAboveTheWindowItIsAbout()
{
    // The order in which windows come on screen: the one shown last is on top.
    struct ShowOrder : QObject {
        QStringList shown;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow())
                shown.append(qobject_cast<QMessageBox*>(watched) ? QStringLiteral("notice") : watched->objectName());
            return false;
        }
    } order;
    Game game;
    writeBytes(game.record.store.path(), QByteArrayLiteral("not a score record"));
    qApp->installEventFilter(&order);
    ui::FrmSCORE& record = openRecord(game.w());
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&order);
    auto* notice = record.findChild<QMessageBox*>();
    QVERIFY(notice && notice->isVisible());
    QVERIFY(notice->text().contains(QStringLiteral("新しい記録を始めました")));
    QCOMPARE(notice->windowHandle()->transientParent(), record.windowHandle());
    QCOMPARE(order.shown, (QStringList {QStringLiteral("FrmSCORE"), QStringLiteral("notice")}));
}

// Guards against a removal offered, confirmed and only then refused, where
// the record cannot be written (a newer Tormell's here).
void TestScoreRecord::aRecordThatCannotBeWrittenOffersNoRemoval()
{
    Game game;
    saveRounds(game.record.store, 1);
    RawFile(game.record.store.path()).run(QStringLiteral("PRAGMA user_version = %1").arg(record::schema::kVersion + 1));
    ui::FrmSCORE& record = openRecord(game.w());
    QCOMPARE(record.rounds().rowCount(), 1);
    QVERIFY(!record.CmdDELETE->isEnabled());
    QVERIFY(record.CmdDELETE->toolTip().contains(QStringLiteral("削除できません")));
}

// Guards against an export that says nothing when it worked, or that it
// worked when it did not.
void TestScoreRecord::anExportSaysBrieflyThatItWorkedAndOnlyThen()
{
    Game game;
    saveRounds(game.record.store, 1);
    ui::FrmSCORE& record = openRecord(game.w());
    record.exportTo(game.record.folder.filePath(QStringLiteral("no such folder/rounds.csv")));
    QVERIFY(jobEnded(record));
    QVERIFY(!briefNotice(record));
    record.exportTo(game.record.folder.filePath(QStringLiteral("rounds.csv")));
    QVERIFY(jobEnded(record));
    QVERIFY(briefNotice(record));
    QCOMPARE(briefNotice(record)->accessibleName(), QStringLiteral("rounds.csv に書き出しました。"));
}

// Guards against an import that holds the window's thread or shows no
// progress, one that cannot be stopped, a stop that leaves part of it in the
// record, and the record's commands left on (a second job) while it runs.
void TestScoreRecord::anImportRunsOffTheWindowShowsItsProgressAndStops()
{
    constexpr int kSourceRounds = 20'000;
    Game game;
    saveRounds(game.record.store, 1);
    const QString source = game.record.folder.filePath(QStringLiteral("another computer's.sqlite"));
    addRounds(source, kSourceRounds, 100);
    ui::FrmSCORE& record = openRecord(game.w());

    record.importFrom({source});
    QVERIFY(record.jobRunning() && record.LblJOB->isVisible() && record.CmdCANCEL->isEnabled());
    QVERIFY(!record.CmdIMPORT->isEnabled() && !record.CmdEXPORT->isEnabled() && !record.CmdBACKUP->isEnabled());
    QTest::mouseClick(record.CmdCANCEL, Qt::LeftButton);
    QVERIFY(jobEnded(record));
    QVERIFY(briefNotice(record) && briefNotice(record)->accessibleName().contains(QStringLiteral("中止")));
    QCOMPARE(saved(game).size(), 1);
    QVERIFY(record.CmdIMPORT->isEnabled() && !record.LblJOB->isVisible());

    record.importFrom({source});
    // The event loop runs meanwhile: the bar is drawn with the share read before the job ends.
    QVERIFY(QTest::qWaitFor([&] { return record.BarJOB->value() > 0 || !record.jobRunning(); }));
    QVERIFY(record.BarJOB->value() > 0 && record.BarJOB->value() < record.BarJOB->maximum());
    QVERIFY(jobEnded(record));
    QCOMPARE(saved(game).size(), 1 + kSourceRounds);
    const auto told = record.findChildren<QMessageBox*>();
    QVERIFY(std::any_of(told.begin(), told.end(),
        [](const QMessageBox* box) { return box->text().contains(QStringLiteral("新しく加えた回：20000")); }));
}

// Guards against the file dialogs of 記録を取り込む… and the others naming a
// folder "Folder", and dating files "8 Dec", in a game that speaks Japanese.
void TestScoreRecord::qtsFileDialogSpeaksJapanese()
{
    QCOMPARE(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("フォルダー"));
    QCOMPARE(QLocale().toString(QDate(2026, 12, 8), QLocale::ShortFormat), QStringLiteral("2026/12/08"));
}

// Guards against a table reset on every change: the round the player chose,
// and the rounds they scrolled to, lost to the newest round.
void TestScoreRecord::theTableKeepsThePlayersPlaceAsRoundsComeAndGo()
{
    constexpr int kRounds = 40; // more than the table shows at once
    constexpr int kScrolledRows = 10;
    Game game;
    const QList<qint64> ids = saveRounds(game.record.store, kRounds);
    QCOMPARE(ids.size(), kRounds);
    ui::FrmSCORE& record = openRecord(game.w());
    QTableView& view = *record.GrdROUND;
    QCOMPARE(selectedIds(view), QList<qint64> {ids.last()});
    view.verticalScrollBar()->setValue(kScrolledRows);
    const qint64 top = idAt(*view.model(), view.rowAt(0));
    const int pickedRow = view.rowAt(0) + 2;
    clickRow(view, pickedRow);
    const qint64 picked = idAt(*view.model(), pickedRow);
    QCOMPARE(record.shownRound(), picked);
    QSignalSpy resets(view.model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserted(view.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(view.model(), &QAbstractItemModel::rowsRemoved);

    const QList<qint64> later = saveRounds(game.record.store, 1, kRounds);
    QVERIFY(!game.record.store.remove({ids.first()}, game.record.store.rounds().from));
    QCOMPARE(record.rounds().rowCount(), kRounds);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(resets.size(), 0);
    QCOMPARE(selectedIds(view), QList<qint64> {picked});
    QCOMPARE(record.shownRound(), picked);
    QCOMPARE(idAt(*view.model(), view.rowAt(0)), top);
    QCOMPARE(idAt(*view.model(), 0), later.first()); // newest first, as sorted
}

// Guards against a record window that leaves a setting whose difficulty is
// missing (a NULL in the file, read as NaN) at every change, as NaN != NaN.
void TestScoreRecord::aSettingWithoutADifficultyStaysChosen()
{
    Game game;
    record::RoundRecord missing = sampleRound(0);
    missing.difficulty = qQNaN();
    QVERIFY(!game.record.store.append(missing));
    QVERIFY(!saveRounds(game.record.store, 1, 1).isEmpty()); // played later: the window opens on it
    ui::FrmSCORE& record = openRecord(game.w());
    const QList<ui::RecordView>& views = record.views();
    QCOMPARE(views.size(), 4); // each difficulty whole, and its one setting
    const auto isUnknown
        = [](const ui::RecordView& view) { return qIsNaN(view.setting.difficulty) && !view.wholeDifficulty; };
    const auto unknown = static_cast<int>(std::find_if(views.cbegin(), views.cend(), isUnknown) - views.cbegin());
    QVERIFY(unknown < views.size());
    QVERIFY(record.CmbSETTING->currentIndex() != unknown);
    record.CmbSETTING->setCurrentIndex(unknown);
    QCOMPARE(record.shownRound(), missing.id);

    QVERIFY(!saveRounds(game.record.store, 1, 2).isEmpty());
    QCOMPARE(record.CmbSETTING->currentIndex(), unknown);
    QCOMPARE(record.shownRound(), missing.id);
}

// Guards against a sort that leaves the selection on the row number it had
// (another round then selected, and another drawn than selected).
void TestScoreRecord::theSelectionFollowsItsRoundThroughASort()
{
    constexpr int kRounds = 5;
    Game game;
    const QList<qint64> ids = saveRounds(game.record.store, kRounds);
    ui::FrmSCORE& record = openRecord(game.w());
    QTableView& view = *record.GrdROUND;
    const int row = view.model()->rowCount() - 2; // newest first: the second oldest
    clickRow(view, row);
    const qint64 picked = idAt(*view.model(), row);
    QCOMPARE(picked, ids.at(1));

    view.sortByColumn(ui::RoundTableModel::Score, Qt::AscendingOrder);
    QCOMPARE(idAt(*view.model(), row), ids.at(3)); // the rows turned over
    QCOMPARE(selectedIds(view), QList<qint64> {picked});
    QCOMPARE(record.shownRound(), picked);
    clickRow(view, 0); // the lowest score, the oldest round
    QCOMPARE(record.shownRound(), ids.first());
}

TORMELL_TEST_MAIN(TestScoreRecord)
#include "tst_score_record.moc"
