#pragma once

#include "evaluation/answers.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace msr {

// One choice of a choice input: the number the answers give it and the caption its dialog
// shows for it (the option's own text and the lines beneath that continue it).
struct ChoiceCaption {
    const char* input; // the input's name, the key of the JSON answers
    Choice choice;     // 1 .. the number of choices
    const char* caption;
};

inline constexpr std::size_t kChoiceCaptionCount = 29;

// Every choice of every choice input, in the order of the questionnaire and of the buttons,
// so that a user who reads "CityArea 7" can tell that it is Lindmoor.
const std::array<ChoiceCaption, kChoiceCaptionCount>& ChoiceCaptions();

// The caption of that choice, or nullptr for no such input or choice.
const char* CaptionOf(std::string_view input, Choice choice);

} // namespace msr
