#include "batch/batch_formats.h"

#include <array>
#include <cctype>
#include <string_view>

namespace msr::batch {
namespace {

bool EndsWithInAnyCase(const std::string& file, std::string_view suffix) {
    if (file.size() <= suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(file[file.size() - suffix.size() + i])) !=
            suffix[i])
            return false;
    return true;
}

} // namespace

bool IsSheetFile(const std::string& file) {
    constexpr std::array<std::string_view, 3> kSuffixes = {".csv", ".xlsx", ".ods"};
    for (const std::string_view suffix : kSuffixes)
        if (EndsWithInAnyCase(file, suffix))
            return true;
    return false;
}

} // namespace msr::batch
