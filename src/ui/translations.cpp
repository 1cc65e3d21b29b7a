#include "ui/translations.h"

#include "ui/log.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

namespace {

// The words of Qt's file dialog that its Japanese translations leave in
// English: the type column names a folder in a context they do not cover.
class FileTypeWords : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        static const QHash<QByteArray, QString> kWords {
            {"Folder", QStringLiteral("フォルダー")},
            {"File Folder", QStringLiteral("フォルダー")},
            {"Drive", QStringLiteral("ドライブ")},
            {"Shortcut", QStringLiteral("ショートカット")},
            {"Alias", QStringLiteral("エイリアス")},
        };
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0 && qstrcmp(context, "QFileIconProvider") != 0)
            return {};
        return kWords.value(sourceText);
    }

    bool isEmpty() const override { return false; }
};

} // namespace

bool installJapaneseTranslations(QCoreApplication& app)
{
    // Dates and sizes in Qt's dialogs written as in Japan.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QCoreApplication::installTranslator(new FileTypeWords(&app));
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
