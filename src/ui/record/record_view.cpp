#include "ui/record/record_view.h"

namespace ui {

QList<RecordView> viewsOf(const QList<record::Setting>& settings)
{
    QList<RecordView> views;
    for (const record::Setting& setting : settings) {
        if (views.isEmpty() || !record::sameNumber(views.back().setting.difficulty, setting.difficulty))
            views.append({setting, true});
        views.append({setting, false});
    }
    return views;
}

} // namespace ui
