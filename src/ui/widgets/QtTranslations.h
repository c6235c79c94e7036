#pragma once

class QCoreApplication;

namespace dorvane {

// Qt's own texts (message box buttons, file dialogs, context menus) in the
// language of the program's texts: Qt's Chinese translations when the
// built-in Chinese texts are in use (language 0), Qt's English otherwise.
// False when Chinese was asked for and Qt's translations are not installed.
bool installQtTranslations(QCoreApplication &application, int language);

} // namespace dorvane
