#include "batch/batch_formats.h"

#include <cctype>
#include <string_view>

namespace msr::batch {

bool IsSheetFile(const std::string& file) {
    constexpr std::string_view kSuffix = ".csv";
    if (file.size() <= kSuffix.size())
        return false;
    for (std::size_t i = 0; i < kSuffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(file[file.size() - kSuffix.size() + i])) !=
            kSuffix[i])
            return false;
    return true;
}

} // namespace msr::batch
