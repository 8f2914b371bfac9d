#pragma once

class QCoreApplication;

namespace msr::report {

// Loads Qt's own German translation, so that the standard dialogs (print, file) and Qt's
// other texts speak German like the rest of the program, whatever the user's locale.
void InstallGermanQtTranslation(QCoreApplication& application);

} // namespace msr::report
