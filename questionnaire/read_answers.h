#pragma once

#include "evaluation/answers/answers.h"

namespace msr::questionnaire {

// The answers as the controls of the nine questionnaire dialogs (Form3..Form7,
// Form9..Form12) hold them at this moment.
Answers ReadAnswers();

} // namespace msr::questionnaire
