#pragma once
// What the record window's list offers to look at: the rounds of one setting,
// or every round of a difficulty whatever its display time, as coached
// practice plays it, moving the time from round to round.

#include "record/round_record.h"

#include <QList>

namespace ui {

struct RecordView {
    /// The setting; for a whole difficulty, its display time is not looked at.
    record::Setting setting;
    bool wholeDifficulty = false;

    friend bool operator==(const RecordView& a, const RecordView& b)
    {
        return a.wholeDifficulty == b.wholeDifficulty
            && (a.wholeDifficulty ? record::sameNumber(a.setting.difficulty, b.setting.difficulty)
                                  : a.setting == b.setting);
    }
};

/// The views of `settings` (in the record's order: by difficulty, then
/// display time): each difficulty's whole view first, then the settings the
/// player chose. The display times coached practice chose, many in a month,
/// are seen through the whole view.
QList<RecordView> viewsOf(const QList<record::PlayedSetting>& settings);

} // namespace ui
