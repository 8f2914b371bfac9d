#pragma once

#include "evaluation/answers/answers.h"

#include <initializer_list>

class QRadioButton;
class QWidget;

namespace msr::questionnaire {

// Makes one exclusive group of the radio buttons of each container (group box, panel or
// the window itself). Left to itself the toolkit also counts the buttons of nested
// containers into a group, so the selected button of a box could be deselected by
// clicking it while a button of a panel inside the box is selected.
void GroupRadioButtonsByContainer(QWidget* window);

// Deselects a radio button without selecting another; no handler runs.
void Deselect(QRadioButton* button);

// The value of a choice input: n while the n-th button of the group is selected, kNone
// while none is.
Choice SelectedChoice(std::initializer_list<const QRadioButton*> group);

} // namespace msr::questionnaire
