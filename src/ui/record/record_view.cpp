#include "ui/record/record_view.h"

namespace ui {

QList<RecordView> viewsOf(const QList<record::PlayedSetting>& settings)
{
    QList<RecordView> views;
    for (const auto& [setting, byHand] : settings) {
        if (views.isEmpty() || !record::sameNumber(views.back().setting.difficulty, setting.difficulty))
            views.append({setting, true});
        if (byHand)
            views.append({setting, false});
    }
    return views;
}

} // namespace ui
