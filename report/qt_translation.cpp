#include "report/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace msr::report {

void InstallGermanQtTranslation(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    // Without the translation Qt's texts stay English; everything else still works.
    if (translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace msr::report
