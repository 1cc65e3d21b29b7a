#pragma once
// The brief word a window shows that something worked or how a text was taken.

#include <QLabel>

/// The brief notice on `w` until it is taken away; null otherwise.
inline QLabel* briefNotice(QWidget& w)
{
    // One taken away stays, hidden, for the next.
    for (auto* notice : w.findChildren<QLabel*>(QStringLiteral("briefNotice"), Qt::FindDirectChildrenOnly)) {
        if (!notice->isHidden())
            return notice;
    }
    return nullptr;
}
