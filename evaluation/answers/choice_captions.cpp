#include "evaluation/answers/choice_captions.h"

namespace msr {

const char* CaptionOf(std::string_view input, Choice choice) {
    for (const ChoiceCaption& row : kChoiceCaptions)
        if (row.choice == choice && input == row.input)
            return row.caption;
    return nullptr;
}

} // namespace msr
