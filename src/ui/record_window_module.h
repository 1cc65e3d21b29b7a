#pragma once
// The score record window lives in a module of its own, loaded the first time
// the player opens the record: the charts library it draws with, and Qt's
// OpenGL modules beneath that, are then not loaded at start, nor at all in
// a game that never opens the record.

#include "ui/record_window_iid.h"

#include <QString>
#include <QtPlugin>
#include <functional>

class QWidget;

namespace record {
class ScoreStore;
}

namespace ui {

/// What the module offers the main window.
class RecordWindowModule {
public:
    virtual ~RecordWindowModule() = default;

    /// A new record window over `store`, owned by `owner`. `playCoached` is
    /// called with the difficulty and display time the player chose there to
    /// practise.
    virtual QWidget* createWindow(record::ScoreStore& store, QWidget& owner,
        std::function<void(double difficulty, double displaySeconds)> playCoached) = 0;
};

/// The module: linked in, or loaded from beside the program on first use by
/// a loader that the application object owns, so that it goes with it.
/// Nothing when it cannot be loaded, or its interface id is not this build's
/// (a module of another build, whose types may differ), with the reason in `why`.
RecordWindowModule* recordWindowModule(QString& why);

} // namespace ui

// The same id names the interface in the module's metadata.
Q_DECLARE_INTERFACE(ui::RecordWindowModule, TORMELL_RECORD_WINDOW_IID)
