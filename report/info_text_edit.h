#pragma once

#include <QTextEdit>

namespace msr::report {

// The information dialog's text box. A bulleted paragraph has its bullet at the text's
// left edge and its text a fixed distance right of it, as in a rich-edit control; Qt
// would put the bullet just before the text instead. So the lists carry no marker of
// their own and this box draws the bullets.
class InfoTextEdit : public QTextEdit {
    Q_OBJECT

public:
    using QTextEdit::QTextEdit;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintBullets(QPainter& painter) const;
};

} // namespace msr::report
