#include "ui/record/round_table_model.h"

#include "toolkit/numeric_text.h"
#include "ui/record/record_texts.h"

#include <QHash>

#include <algorithm>
#include <utility>

namespace ui {

namespace {

// The same round read again. A record replaced by another (one copied in, or
// a fresh one begun) may give its id to a different round.
bool sameRound(const record::RoundSummary& a, const record::RoundSummary& b)
{
    using record::sameNumber;
    return a.id == b.id && a.playedAt == b.playedAt && sameNumber(a.difficulty, b.difficulty)
        && sameNumber(a.displaySeconds, b.displaySeconds) && sameNumber(a.elapsedSeconds, b.elapsedSeconds)
        && a.score == b.score && a.verdict == b.verdict && a.gridLines == b.gridLines && a.coached == b.coached;
}

} // namespace

void RoundTableModel::setRounds(const QList<record::RoundSummary>& rounds)
{
    // Rounds only added after those shown, as a save adds them: their rows
    // go in with nothing else to look up.
    if (!m_rounds.isEmpty() && rounds.size() > m_rounds.size()
        && std::equal(m_rounds.cbegin(), m_rounds.cend(), rounds.cbegin(), sameRound)) {
        const qsizetype first = m_rounds.size();
        beginInsertRows({}, rowCount(), static_cast<int>(rounds.size()) - 1);
        m_rounds.append(rounds.sliced(first));
        keepMomentsFrom(first);
        endInsertRows();
        return;
    }
    QHash<qint64, const record::RoundSummary*> incoming;
    incoming.reserve(rounds.size());
    for (const record::RoundSummary& round : rounds)
        incoming.insert(round.id, &round);
    const auto stays = [&](int row) {
        const record::RoundSummary* now = incoming.value(m_rounds.at(row).id);
        return now != nullptr && sameRound(*now, m_rounds.at(row));
    };
    // With no row to keep (on opening, or for another setting), one reset: a
    // view takes thousands of rows faster and in less memory than as inserts.
    bool anyStays = false;
    for (int row = 0; row < rowCount() && !anyStays; ++row)
        anyStays = stays(row);
    if (!anyStays) {
        beginResetModel();
        m_rounds = rounds;
        keepMomentsFrom(0);
        endResetModel();
        return;
    }
    // Each run of rows that go, from the last, so that the rows above keep their numbers.
    for (int last = rowCount() - 1; last >= 0; --last) {
        if (stays(last))
            continue;
        int first = last;
        while (first > 0 && !stays(first - 1))
            --first;
        beginRemoveRows({}, first, last);
        m_rounds.remove(first, last - first + 1);
        keepMomentsFrom(first);
        endRemoveRows();
        last = first;
    }
    for (const record::RoundSummary& round : std::as_const(m_rounds))
        incoming.remove(round.id);
    if (incoming.isEmpty())
        return;
    // The new rounds after the others, in the record's order: the view sorts them.
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(incoming.size()) - 1);
    for (const record::RoundSummary& round : rounds)
        if (incoming.contains(round.id))
            m_rounds.append(round);
    keepMomentsFrom(first);
    endInsertRows();
}

void RoundTableModel::keepMomentsFrom(qsizetype first)
{
    m_playedMs.resize(static_cast<std::size_t>(first));
    for (qsizetype row = first; row < m_rounds.size(); ++row)
        m_playedMs.push_back(m_rounds.at(row).playedAt.toMSecsSinceEpoch());
}

qint64 RoundTableModel::newestId() const
{
    qint64 newest = 0;
    for (const record::RoundSummary& round : m_rounds)
        newest = std::max(newest, round.id);
    return newest;
}

int RoundTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rounds.size());
}

int RoundTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RoundTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const record::RoundSummary& round = m_rounds.at(index.row());
    if (role == IdRole)
        return round.id;
    if (role == Qt::TextAlignmentRole)
        return index.column() == Date || index.column() == Verdict ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Date:
        return momentText(round.playedAt);
    case Difficulty:
        return toolkit::numberText(round.difficulty);
    case DisplayTime:
        return toolkit::numberText(round.displaySeconds);
    case Score:
        return toolkit::numberText(round.score);
    case Elapsed:
        return toolkit::numberText(round.elapsedSeconds);
    case Verdict:
        return round.verdict;
    default:
        return {};
    }
}

QVariant RoundTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    // The units on a line of their own keep the columns as narrow as their numbers.
    switch (section) {
    case Date:
        return QStringLiteral("日時");
    case Difficulty:
        return QStringLiteral("難易度");
    case DisplayTime:
        return QStringLiteral("表示時間\n（秒）");
    case Score:
        return QStringLiteral("点数");
    case Elapsed:
        return QStringLiteral("経過時間\n（秒）");
    case Verdict:
        return QStringLiteral("判定");
    default:
        return {};
    }
}

} // namespace ui
