#pragma once
// Qt's own texts in Japanese (the buttons of its message boxes, its file
// dialog), whatever the locale: the game speaks Japanese throughout.

#include "tormell_export.h"

class QCoreApplication;

namespace ui {

/// Installs Qt's Japanese translations into `app`, with the file dialog's
/// words they lack, and makes Japanese the default locale. Returns false,
/// having logged why, when Qt's translations cannot be loaded; most of Qt's
/// texts stay in English then.
TORMELL_EXPORT bool installJapaneseTranslations(QCoreApplication& app);

} // namespace ui
