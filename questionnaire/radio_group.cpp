#include "questionnaire/radio_group.h"

#include <QRadioButton>

namespace msr::questionnaire {

void Deselect(QRadioButton* button) {
    if (!button->isChecked())
        return;
    // The toolkit keeps the selected button of a group selected; exclusivity is lifted
    // just for this change.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

Choice SelectedChoice(std::initializer_list<const QRadioButton*> group) {
    Choice number = 1;
    for (const QRadioButton* button : group) {
        if (button->isChecked())
            return number;
        ++number;
    }
    return kNone;
}

} // namespace msr::questionnaire
