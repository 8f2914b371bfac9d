#include "questionnaire/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace msr::questionnaire {
namespace {

void GroupDirectRadioButtons(QWidget* container) {
    const QList<QRadioButton*> buttons =
        container->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
    if (buttons.isEmpty())
        return;
    auto* group = new QButtonGroup(container);
    for (QRadioButton* button : buttons)
        group->addButton(button);
}

} // namespace

void GroupRadioButtonsByContainer(QWidget* window) {
    GroupDirectRadioButtons(window);
    for (QWidget* container : window->findChildren<QWidget*>())
        GroupDirectRadioButtons(container);
}

void Deselect(QRadioButton* button) {
    if (!button->isChecked())
        return;
    // An exclusive group keeps its selected button selected; exclusivity is lifted just
    // for this change.
    QButtonGroup* group = button->group();
    if (group)
        group->setExclusive(false);
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
    if (group)
        group->setExclusive(true);
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
