#include "ui/translations.h"

#include "ui/log.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace ui {

bool installJapaneseTranslations(QCoreApplication& app)
{
    // Qt's widgets' texts, shipped by the system's Qt (qt6-translations-l10n).
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), folder)) {
        qCWarning(lcUi).noquote() << "Qt's Japanese translations not found in" << folder
                                  << "- its dialogs stay in English";
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace ui
