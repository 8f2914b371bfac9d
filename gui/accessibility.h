#pragma once

#include <QLabel>

class QDialog;
class QWidget;

namespace msr::gui {

// What screen readers are told about the program's windows beyond what Qt tells them.

// The dialog is announced as modal while it is shown so.
void AnnounceModality(QDialog* dialog);

// A label that is a link: announced with the role of one, named by its text, and opened
// by its press action, which does what a click on it does (the release of a mouse button
// over it).
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(QWidget* parent = nullptr);
};

} // namespace msr::gui
