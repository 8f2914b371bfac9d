#pragma once

class QCoreApplication;

namespace msr::report {

// Loads Qt's own German translation, so that the standard dialogs (print, file) and Qt's
// messages (an unknown option of the evaluator, a missing value) speak German like the
// rest of the program, whatever the user's locale.
void InstallGermanQtTranslation(QCoreApplication& application);

} // namespace msr::report
