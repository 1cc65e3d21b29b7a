#pragma once
// The brief word a window shows that something worked or how a text was taken.

#include <QLabel>

/// The brief notice on `w` while it shows; null otherwise. A window keeps
/// one, hidden between words.
inline QLabel* briefNotice(QWidget& w)
{
    auto* notice = w.findChild<QLabel*>(QStringLiteral("briefNotice"), Qt::FindDirectChildrenOnly);
    return notice && !notice->isHidden() ? notice : nullptr;
}
