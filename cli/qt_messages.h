#pragma once

class QCoreApplication;

namespace msr::cli {

// Qt's own messages in German (an unknown option, a missing value): the evaluator speaks
// German whatever the user's locale, like the program.
void InstallGermanQtMessages(QCoreApplication& application);

} // namespace msr::cli
