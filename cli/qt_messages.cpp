#include "cli/qt_messages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace msr::cli {

void InstallGermanQtMessages(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    // Without the translation Qt's messages stay English; everything else still works.
    if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace msr::cli
