#pragma once
// A round's fields listed once, in the order of the CSV export's columns:
// each one's columns in the rounds table and its heading in the export. The
// statements that save and read rounds, the export and its import all go by
// this list. A round's content id does not: its bytes are fixed (round_id.h).

#include "core/grid_count.h"
#include "record/round_record.h"

#include <QString>
#include <QVariantList>
#include <array>
#include <string_view>
#include <type_traits>
#include <variant>

namespace record {

/// A pose's field.
using PoseField = core::Joints RoundRecord::*;

/// The field a column holds. Its type says how it is kept and written: a
/// moment in two columns of the table (ISO 8601 text with its offset, and
/// milliseconds since 1970 UTC to sort by); a pose as the x and y of each
/// joint in the export, and in the file as a blob of round_joints (joint_blob.h).
using RoundField = std::variant<QByteArray RoundRecord::*, QDateTime RoundSummary::*, double RoundSummary::*,
    int RoundSummary::*, QString RoundSummary::*, bool RoundSummary::*, bool RoundRecord::*, PoseField>;

struct RoundColumn {
    RoundField field;
    std::string_view sql; // its columns in the rounds table, comma-separated; empty when it has none there
    std::u16string_view heading; // a pose's heads its joints' cells: "見本 関節1 X"
    int most = 0; // an integer's largest value (the least is 0)
};

inline constexpr std::array kRoundColumns {
    RoundColumn {&RoundRecord::uid, "uid", u"ID"},
    RoundColumn {&RoundSummary::playedAt, "played_at, played_ms", u"日時"},
    RoundColumn {&RoundSummary::difficulty, "difficulty", u"難易度"},
    RoundColumn {&RoundSummary::displaySeconds, "display_seconds", u"表示時間（秒）"},
    RoundColumn {&RoundSummary::elapsedSeconds, "elapsed_seconds", u"経過時間（秒）"},
    RoundColumn {&RoundSummary::score, "score", u"点数", kHighestScore},
    RoundColumn {&RoundSummary::verdict, "verdict", u"判定"},
    RoundColumn {&RoundSummary::gridLines, "grid_lines", u"格子線の数", core::kMostGridLines},
    RoundColumn {&RoundRecord::target, {}, u"見本"},
    RoundColumn {&RoundRecord::player, {}, u"解答"},
    // After the joints, so that the columns before kept their places in the export.
    RoundColumn {&RoundSummary::coached, "coached", u"おまかせ練習"},
    RoundColumn {&RoundRecord::damaged, {}, u"姿勢の記録なし"}, // what reading the joints found
    RoundColumn {&RoundSummary::nearRest, "near_rest", u"見本がほぼ静止"},
};

/// Calls `use(column, value)` with each field of `round` that the rounds
/// table keeps, in the list's order: of a RoundSummary, the summary's alone.
template <class Round, class Use> void eachStored(Round& round, Use&& use)
{
    for (const RoundColumn& column : kRoundColumns)
        std::visit(
            [&]<class T, class Owner>(T Owner::*field) {
                if constexpr (std::is_base_of_v<Owner, Round> && !std::is_same_v<T, core::Joints>)
                    if (!column.sql.empty())
                        use(column, round.*field);
            },
            column.field);
}

/// The columns of eachStored() for a RoundRecord, comma-separated, in the order roundValues() gives them.
const QString& roundColumns();
/// The same for a RoundSummary.
const QString& summaryColumns();

/// The round's values for roundColumns().
QVariantList roundValues(const RoundRecord& round);

/// "?, ?, …": a placeholder for each of the comma-separated `columns`.
QString placeholders(const QString& columns);

} // namespace record
