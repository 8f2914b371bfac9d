#pragma once

#include <QList>

class QAbstractButton;
class QLabel;
class QWidget;

namespace msr::questionnaire {

// Several options carry the start of their caption themselves and continue it in plain
// labels beneath, indented to the option's text: the continuation lines.

// The labels that continue the option's caption, top to bottom: those of its container
// that stand below it, before the next option, indented by less than an indicator's
// width more than the option.
QList<QLabel*> ContinuationLines(const QAbstractButton* option);

// The option's whole caption, as it reads: its own text and its continuation lines,
// joined; a word split by a hyphen at a line's end is joined again.
QString WholeCaption(const QAbstractButton* option);

// Gives every option of the window its whole caption as its accessible name, and moves
// its continuation lines to where its text starts, one line pitch below each other with
// the first one pitch below the option's own text, whatever the style's indicator.
void FinishContinuationLines(QWidget* window);

} // namespace msr::questionnaire
