#pragma once

#include <QAbstractButton>
#include <QAction>

namespace msr::gui {

// Event handlers take the control that raised the event, as the windows' handlers are
// written: void Handler(QObject* sender).
template <class Form> using Handler = void (Form::*)(QObject*);

// Runs the handler when the button is pressed (mouse, Space, or click() from the program).
template <class Form> void OnClick(QAbstractButton* button, Form* form, Handler<Form> handler) {
    QObject::connect(button, &QAbstractButton::clicked, form, [=] { (form->*handler)(button); });
}

// Runs the handler when a menu item is chosen.
template <class Form> void OnTrigger(QAction* action, Form* form, Handler<Form> handler) {
    QObject::connect(action, &QAction::triggered, form, [=] { (form->*handler)(action); });
}

// Runs the handler when the radio button becomes selected, by the user or by the program.
// Selecting the button that is already selected changes nothing and so runs nothing, and
// deselecting never runs the handler: the questionnaire's dialogs rely on both.
template <class Form> void OnSelect(QAbstractButton* button, Form* form, Handler<Form> handler) {
    QObject::connect(button, &QAbstractButton::toggled, form, [=](bool selected) {
        if (selected)
            (form->*handler)(button);
    });
}

} // namespace msr::gui
