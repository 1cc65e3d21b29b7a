#include "ui/notice.h"

#include "ui/log.h"

#include <QLabel>
#include <QTimer>
#include <chrono>

namespace ui {

namespace {

// Long enough to read a short sentence, short enough not to linger.
constexpr std::chrono::milliseconds kBriefly {3000};
// Between the notice and the top of what it is over, and round its text.
constexpr int kBriefMargin = 8;
const QString kBriefName = QStringLiteral("briefNotice");

} // namespace

void tell(QWidget& parent, QMessageBox::Icon icon, const QString& title, const QString& message)
{
    qCDebug(lcUi).noquote() << "told the player:" << title << "-" << message;
    auto* box = new QMessageBox(icon, title, message, QMessageBox::Ok, &parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // A message box is modal from birth; open() would block its parent window.
    box->setWindowModality(Qt::NonModal);
    // Above the window it is about, held there as transient for it: a window
    // still being made (the record's, told of its file while it opens) shows
    // first, once the handler that makes it has returned, or it would cover
    // the box. A message box is an alert to screen readers.
    const auto showAbove = [box] {
        box->show();
        box->raise();
    };
    if (parent.window()->isVisible())
        showAbove();
    else
        QMetaObject::invokeMethod(box, showAbove, Qt::QueuedConnection);
}

void tellBriefly(QWidget& over, const QString& message)
{
    qCDebug(lcUi).noquote() << "told the player briefly:" << message;
    QWidget& window = *over.window();
    // One notice a window, hidden between one word and the next: made, and
    // its text laid out, once rather than at every save. Inside the window
    // rather than a window of its own: it takes no focus and no clicks, and
    // screen readers find it among the window's contents.
    auto* notice = window.findChild<QLabel*>(kBriefName, Qt::FindDirectChildrenOnly);
    if (!notice) {
        notice = new QLabel(&window);
        notice->setObjectName(kBriefName);
        notice->setAttribute(Qt::WA_TransparentForMouseEvents);
        notice->setForegroundRole(QPalette::ToolTipText);
        notice->setBackgroundRole(QPalette::ToolTipBase);
        notice->setAutoFillBackground(true);
        notice->setFrameStyle(QFrame::Box | QFrame::Plain);
        notice->setMargin(kBriefMargin);
        auto* ending = new QTimer(notice);
        ending->setSingleShot(true);
        ending->setInterval(kBriefly);
        QObject::connect(ending, &QTimer::timeout, notice, &QWidget::hide);
    }
    notice->setText(message);
    notice->setAccessibleName(message);
    notice->adjustSize();
    const QRect area(over.mapTo(&window, QPoint()), over.size());
    notice->move(area.center().x() - notice->width() / 2, area.top() + kBriefMargin);
    notice->raise();
    notice->show();
    notice->findChild<QTimer*>()->start(); // the full time again for a new word
}

void endBriefNotice(QWidget& over)
{
    if (auto* notice = over.window()->findChild<QLabel*>(kBriefName, Qt::FindDirectChildrenOnly))
        notice->hide();
}

} // namespace ui
