#include "cli/edition_files.h"

#include "evaluation/answers/visible_text.h"
#include "evaluation/rent_index/edition_reading.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace msr::cli {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& file) {
    return "\"" + WithVisibleControls(file) + "\"";
}

// The file's bytes, one more than an edition may have at most: a larger file is refused
// for its size all the same.
bool ReadFileUpTo(const std::string& file, std::string& bytes, std::string& why) {
    std::FILE* opened = std::fopen(file.c_str(), "rb");
    if (!opened) {
        why = Quoted(file) + " kann nicht gelesen werden" +
              (errno == ENOENT   ? ": Die Datei gibt es nicht"
               : errno == EACCES ? ": Keine Leseberechtigung"
                                 : "");
        return false;
    }
    bytes.clear();
    char chunk[1 << 14];
    std::size_t read = 0;
    while (bytes.size() <= kLargestEditionFile &&
           (read = std::fread(chunk, 1, sizeof chunk, opened)) > 0)
        bytes.append(chunk, read);
    const bool failed = std::ferror(opened) != 0;
    std::fclose(opened);
    if (failed)
        why = Quoted(file) + " kann nicht gelesen werden";
    return !failed;
}

// The *.json files of a folder, by name; the file itself where it is none.
std::vector<std::string> EditionFilesIn(const std::string& fileOrFolder) {
    std::error_code error;
    if (!fs::is_directory(fileOrFolder, error))
        return {fileOrFolder};
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(fileOrFolder, error))
        if (entry.path().extension() == ".json" && !entry.is_directory(error))
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

CheckedEdition Check(const std::string& file) {
    CheckedEdition checked;
    checked.file = file;
    std::string bytes;
    std::string why;
    if (!ReadFileUpTo(file, bytes, why)) {
        checked.faults.push_back(why);
        return checked;
    }
    EditionReading reading = ReadEdition(bytes, file);
    checked.edition = std::move(reading.edition);
    checked.faults = std::move(reading.faults);
    return checked;
}

void Take(const std::string& fileOrFolder, EditionSource source, LoadedEditions& loaded) {
    for (const std::string& file : EditionFilesIn(fileOrFolder)) {
        CheckedEdition checked = Check(file);
        if (!checked.edition) {
            loaded.faults.insert(loaded.faults.end(), checked.faults.begin(), checked.faults.end());
            continue;
        }
        checked.edition->file = file;
        if (std::optional<std::string> clash =
                loaded.editions.add(std::move(*checked.edition), source))
            loaded.faults.push_back(*clash);
    }
}

} // namespace

LoadedEditions LoadEditions(const std::vector<std::string>& installedFolders,
                            const std::vector<std::string>& given) {
    LoadedEditions loaded{RentIndexEditions::BuiltIn(), {}};
    std::error_code error;
    for (const std::string& folder : installedFolders)
        if (fs::is_directory(folder, error))
            Take(folder, EditionSource::Installed, loaded);
    for (const std::string& fileOrFolder : given) {
        if (!fs::exists(fileOrFolder, error)) {
            loaded.faults.push_back(Quoted(fileOrFolder) +
                                    " kann nicht gelesen werden: Die Datei gibt es nicht");
            continue;
        }
        Take(fileOrFolder, EditionSource::Given, loaded);
    }
    return loaded;
}

std::vector<CheckedEdition> CheckEditionFiles(const std::string& fileOrFolder) {
    std::vector<CheckedEdition> checked;
    for (const std::string& file : EditionFilesIn(fileOrFolder))
        checked.push_back(Check(file));
    return checked;
}

std::vector<std::string> InstalledEditionFolders(const char* xdgDataDirs) {
    const std::string searched = xdgDataDirs != nullptr && *xdgDataDirs != '\0'
                                     ? xdgDataDirs
                                     : "/usr/local/share/:/usr/share/";
    std::vector<std::string> folders;
    std::size_t start = 0;
    while (start <= searched.size()) {
        const std::size_t end = std::min(searched.find(':', start), searched.size());
        if (end > start)
            folders.push_back(searched.substr(start, end - start) + "/mietspiegelrechner/editions");
        start = end + 1;
    }
    return folders;
}

CalendarDate Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

} // namespace msr::cli
