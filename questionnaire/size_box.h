#pragma once

#include <QObject>

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

} // namespace msr::questionnaire
