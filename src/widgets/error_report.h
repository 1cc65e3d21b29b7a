#pragma once
// What the player sees of the errors the error boundary contains: one
// modeless box, counting the errors that came after the first while it is open.
//
// A report is only queued where the error is contained: a box made or shown
// there would run inside the failing handler (in the middle of a drag or a
// display wait), and a modal one would even run a nested event loop. Posting
// never shows anything at once, so an error raised while the box is brought up
// can only queue one more update, never re-enter it.

#include "tormell_export.h"

#include <QObject>
#include <QString>

#include <memory>

class QMessageBox;

namespace widgets {

class TORMELL_EXPORT ErrorReport : public QObject {
    Q_OBJECT

public:
    ErrorReport();
    ~ErrorReport() override;

    /// Queues `message` and returns at once; the box is shown, or its text
    /// updated in place, when the event loop next runs.
    void post(const QString& message);

private:
    void show();
    QString text() const;

    std::unique_ptr<QMessageBox> m_box; // made on the first error, hidden again when closed
    QString m_first; // the first error since the box was last closed
    int m_count = 0; // the errors since then
    bool m_queued = false;
};

} // namespace widgets
