#pragma once

class QCoreApplication;

namespace msr::gui {

// Loads Qt's own German translation so that the standard dialogs (print, file) speak
// German like the rest of the program.
void InstallGermanTranslation(QCoreApplication& application);

} // namespace msr::gui
