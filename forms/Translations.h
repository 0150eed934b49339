#pragma once

// Qt's own texts (the OK of a message box, the file dialog, the text boxes' context menus) in
// Simplified Chinese like the rest of the program, whatever the system's locale.

class QCoreApplication;

namespace sumvarl {

// Loads Qt's Simplified Chinese translations into app. False when they are not installed
// (Debian: qt6-translations-l10n); Qt's texts then stay English.
bool InstallQtTranslations(QCoreApplication& app);

} // namespace sumvarl
