// Compiled into each program that links the record window in rather than
// loading its module: registers the window with Qt's plugin loader.

#include <QtPlugin>

Q_IMPORT_PLUGIN(RecordWindowPlugin)
