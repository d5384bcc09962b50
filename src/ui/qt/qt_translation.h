#pragma once

class QCoreApplication;
class QTranslator;

namespace kadromir::ui {

// Installs Qt's own Russian texts (the standard dialogs, buttons and context menus),
// so they read as the rest of the window does; from Qt's translations folder. The
// translator, owned by the application; null when that translation is not installed,
// and Qt's texts then stay English.
QTranslator* InstallQtTranslation(QCoreApplication& application);

} // namespace kadromir::ui
