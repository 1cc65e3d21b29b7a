#include "widgets/window_role.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace widgets {

namespace {

// Qt asks each factory once for each class of the object, the most derived
// first, until one answers. Answering for that first class alone leaves
// dialogs, main windows and Qt's own widgets to Qt.
QAccessibleInterface* windowInterface(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    const QMetaObject* type = object->metaObject();
    if (className != QLatin1String(type->className()) || type->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    return widget->isWindow() ? new QAccessibleWidget(widget, QAccessible::Window) : nullptr;
}

} // namespace

void announceWidgetWindowsAsWindows()
{
    QAccessible::installFactory(windowInterface);
}

} // namespace widgets
