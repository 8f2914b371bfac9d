#pragma once

#include "evaluation/answers/calendar_date.h"
#include "evaluation/rent_index/editions.h"

#include <string>
#include <vector>

// The editions of the rent index a run evaluates by, read from their files: the one built
// into the program, those installed (each folder's *.json), and those the counsellor names
// (a file or a folder). Every file is read whole and checked before any is used; a bad one
// refuses the run, naming the file, its line and the key.
namespace msr::cli {

struct LoadedEditions {
    RentIndexEditions editions;
    std::vector<std::string> faults; // German, without full stop; empty when all were read
};

// installedFolders: where installed editions live (a folder that does not exist holds
// none); given: the files and folders of --rent-index, in their order.
LoadedEditions LoadEditions(const std::vector<std::string>& installedFolders,
                            const std::vector<std::string>& given);

// The editions in one file or folder, each read and checked on its own, for
// --check-rent-index: per file the summary, or its faults.
struct CheckedEdition {
    std::string file;
    std::optional<Edition> edition;
    std::vector<std::string> faults;
};
std::vector<CheckedEdition> CheckEditionFiles(const std::string& fileOrFolder);

// Where the package installs editions: "mietspiegelrechner/editions" in each data folder
// of the XDG base directories (by default /usr/local/share and /usr/share), as the desktop
// program looks for them too. xdgDataDirs: the variable's value, or nullptr.
std::vector<std::string> InstalledEditionFolders(const char* xdgDataDirs);

// Today on this computer's clock, in its time zone.
CalendarDate Today();

} // namespace msr::cli
