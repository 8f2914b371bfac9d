#pragma once

#include <QObject>
#include <QString>

class QComboBox;

namespace msr::questionnaire {

// How the size box steps through its list. Up, Down, Page Up, Page Down and the wheel
// step on from the number typed when that number stands in the list (45, Down: 46),
// and the wheel changes the size only while the box has the focus: turning the wheel
// over a dialog to scroll it must not change an answer.
class SizeBoxStepping : public QObject {
    Q_OBJECT

public:
    explicit SizeBoxStepping(QComboBox* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StepFromTypedNumber();

    QComboBox* box_;
};

// While the box shows its placeholder ("Quadratmeter"), giving it the focus, by Tab or
// by a click into its text, selects the whole text, so that what the user types
// replaces it. A click would otherwise put the cursor inside the word.
class PlaceholderSelection : public QObject {
    Q_OBJECT

public:
    PlaceholderSelection(QComboBox* box, QString placeholder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ShowsPlaceholder() const;

    QComboBox* box_;
    // The box's edit field, kept from the start: while the box is being destroyed its
    // events still come here, when the box can no longer be asked for it.
    QObject* edit_;
    QString placeholder_;
    // The focus came with a mouse press; the press has put the cursor, the release
    // selects.
    bool focusedByClick_ = false;
};

} // namespace msr::questionnaire
