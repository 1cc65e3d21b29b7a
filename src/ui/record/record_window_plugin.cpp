// The module's entry: Qt's plugin loader finds this object in it.

#include "ui/record/score_record_window.h"
#include "ui/record_window_module.h"
#include "widgets/error_boundary.h"

#include <QObject>

namespace ui {

class RecordWindowPlugin : public QObject, public RecordWindowModule {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TORMELL_RECORD_WINDOW_IID)
    Q_INTERFACES(ui::RecordWindowModule)

public:
    QWidget* createWindow(record::ScoreStore& store, QWidget& owner,
        std::function<void(double difficulty, double displaySeconds)> playCoached) override
    {
        auto* window = new FrmSCORE(store, &owner);
        widgets::connectGuarded(window, &FrmSCORE::coachedSettingChosen, window, std::move(playCoached));
        return window;
    }
};

} // namespace ui

#include "record_window_plugin.moc"
