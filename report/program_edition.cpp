#include "report/program_edition.h"

#include "evaluation/rent_index/edition_reading.h"
#include "evaluation/rent_index/editions.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <optional>
#include <utility>

namespace msr::report {
namespace {

std::optional<Edition>& Chosen() {
    static std::optional<Edition> chosen;
    return chosen;
}

// The faults of one file that a message shows: the first few, and how many more the check
// of the evaluator names.
constexpr int kFaultsShown = 3;

void AddFaults(const std::vector<std::string>& found, QStringList& faults) {
    const int count = static_cast<int>(found.size());
    for (int i = 0; i < count && i < kFaultsShown; ++i)
        faults << QString::fromStdString(found[static_cast<std::size_t>(i)]);
    if (count > kFaultsShown)
        faults << QStringLiteral("… und %1 weitere Fehler; alle nennt "
                                 "mietspiegel-auswertung --check-rent-index")
                      .arg(count - kFaultsShown);
}

// One installed file, read whole up to the largest an edition may be, and checked.
std::optional<Edition> ReadInstalled(const QString& path, QStringList& faults) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        faults << QStringLiteral("\"%1\" kann nicht gelesen werden").arg(path);
        return std::nullopt;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(kLargestEditionFile) + 1);
    EditionReading reading =
        ReadEdition(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                    QFile::encodeName(path).toStdString());
    if (!reading.edition)
        AddFaults(reading.faults, faults);
    return std::move(reading.edition);
}

} // namespace

const Edition& ProgramEdition() {
    if (!Chosen())
        Chosen() = RentIndexEditions::BuiltIn().newest();
    return *Chosen();
}

QStringList InstalledEditionFolders() {
    return QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                     QStringLiteral("mietspiegelrechner/editions"),
                                     QStandardPaths::LocateDirectory);
}

QStringList ChooseProgramEdition(const CalendarDate& today) {
    RentIndexEditions editions = RentIndexEditions::BuiltIn();
    QStringList faults;
    // The folders come most important first; each later one gives way to it.
    const QStringList folders = InstalledEditionFolders();
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        const QDir dir(*folder);
        for (const QString& name :
             dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
            if (std::optional<Edition> edition = ReadInstalled(dir.filePath(name), faults))
                editions.add(std::move(*edition), EditionSource::Installed);
    }
    const EditionInForce inForce = editions.inForceOn(today);
    Chosen() = inForce ? *inForce.edition : editions.newest();
    return faults;
}

CalendarDate TodayOnClock() {
    const QDate today = QDate::currentDate();
    return {today.year(), today.month(), today.day()};
}

QString ProgramEditionTitle(const CalendarDate& today) {
    const Edition& edition = ProgramEdition();
    QString title =
        QStringLiteral("%1: Stand %2, Laufzeit bis %3")
            .arg(QString::fromStdString(edition.name), QString::fromStdString(edition.stand),
                 QString::fromStdString(GermanDate(edition.termEnd)));
    if (IsPastTerm(edition, today))
        title += QStringLiteral(" (veraltet)");
    return title;
}

} // namespace msr::report
