#include "ui/record_window_module.h"

#include "ui/log.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

namespace ui {

RecordWindowModule* recordWindowModule(QString& why)
{
    // A program that links the window in (the tests) registers it as a static plugin.
    const QObjectList linkedIn = QPluginLoader::staticInstances();
    for (QObject* instance : linkedIn) {
        if (auto* module = qobject_cast<RecordWindowModule*>(instance))
            return module;
    }
    // The module sits at the same place relative to the program in the build
    // and once installed; it stays loaded for the rest of the run, its loader
    // a child of the application, gone with it rather than after it.
    QCoreApplication* app = QCoreApplication::instance();
    const QString path = QDir::cleanPath(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(TORMELL_RECORD_WINDOW_MODULE)));
    auto* loader = app->findChild<QPluginLoader*>(QStringLiteral("recordWindowLoader"), Qt::FindDirectChildrenOnly);
    if (!loader) {
        loader = new QPluginLoader(path, app);
        loader->setObjectName(QStringLiteral("recordWindowLoader"));
        // A module that does not fit the program fails here, not in the middle of opening the window.
        loader->setLoadHints(QLibrary::ResolveAllSymbolsHint | QLibrary::PreventUnloadHint);
    }
    auto* module = qobject_cast<RecordWindowModule*>(loader->instance());
    if (!module) {
        // Named as asked for: the loader forgets the name of a file it did not find.
        why = loader->isLoaded() ? QStringLiteral("%1 is not the record window's module of this build (interface %2)")
                                       .arg(path, QStringLiteral(TORMELL_RECORD_WINDOW_IID))
                                 : QStringLiteral("%1: %2").arg(path, loader->errorString());
        qCWarning(lcUi).noquote() << "cannot load the record window:" << why;
    }
    return module;
}

} // namespace ui
