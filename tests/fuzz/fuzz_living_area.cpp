// The two conversions of the living area: never a crash, messages that quote the text,
// and every whole number the size dialog lets through reads as that number.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "evaluation/answers/living_area.h"
#include "evaluation/answers/visible_text.h"

namespace {

// The message quotes the whole text, its control characters (a NUL too) shown visibly.
void ExpectQuoted(const msr::ConversionError& error, const std::string& text) {
    const std::string message = error.what();
    if (message.rfind("'" + msr::WithVisibleControls(text) + "' ist kein gültiger", 0) != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    bool whole = false;
    int number = 0;
    try {
        number = msr::ToWholeNumber(text);
        whole = true;
    } catch (const msr::ConversionError& e) {
        ExpectQuoted(e, text);
    }
    for (const char* separator : {",", "."}) {
        try {
            const float area = msr::ToLivingArea(text, separator);
            if (!std::isfinite(area))
                std::abort();
            if (whole && area != static_cast<float>(number))
                std::abort();
        } catch (const msr::ConversionError& e) {
            if (whole)
                std::abort();
            ExpectQuoted(e, text);
        }
    }
    return 0;
}
