#pragma once

#include "evaluation/answers/calendar_date.h"
#include "evaluation/rent_index/edition.h"

#include <QString>
#include <QStringList>

// The edition of the rent index the desktop program evaluates by: of the built-in one and
// those installed (mietspiegelrechner/editions/*.json in the system's data folders, where
// the package and the association put them), the one in force today, else the newest.
// Start-up chooses it before the windows are made; until then it is the built-in one. The
// report, the preview's status line and the information dialog all name it.
namespace msr::report {

const Edition& ProgramEdition();

// Chooses the program's edition for today. Returns why an installed file was passed over,
// one German message each (without full stop); those files count for nothing.
QStringList ChooseProgramEdition(const CalendarDate& today);

// The folders it looks in, the first one first.
QStringList InstalledEditionFolders();

// Today on the computer's clock.
CalendarDate TodayOnClock();

// "Mietspiegel Varlstadt 2015: Stand 1. Januar 2015, Laufzeit bis 31.12.2016", with
// " (veraltet)" once its term has ended: how the preview names it.
QString ProgramEditionTitle(const CalendarDate& today);

} // namespace msr::report
