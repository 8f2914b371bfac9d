#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <QString>

// A control of a window by the name its layout gives it; the test stops when the window
// has none of that name and kind.
template <class Control> Control* Find(const QObject* window, const char* name) {
    auto* control = window->findChild<Control*>(QLatin1String(name));
    if (!control)
        qFatal("%s has no control %s", qPrintable(window->objectName()), name);
    return control;
}
