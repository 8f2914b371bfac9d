#pragma once

#include "evaluation/answers.h"

#include <initializer_list>

class QRadioButton;

namespace msr::questionnaire {

// Deselects a radio button without selecting another; no handler runs.
void Deselect(QRadioButton* button);

// The value of a choice input: n while the n-th button of the group is selected, kNone
// while none is.
Choice SelectedChoice(std::initializer_list<const QRadioButton*> group);

} // namespace msr::questionnaire
