#include "questionnaire/continuation_lines.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <limits>

namespace msr::questionnaire {
namespace {

// The layouts write the lines of a caption this many pixels apart.
constexpr int kLinePitch = 16;
// Continuation lines stand in by the width of an indicator and its gap, 18 pixels.
constexpr int kMostIndent = 30;

bool IsOption(const QWidget* widget) {
    return qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget);
}

// Where the option below this one begins, in the same container.
int NextOptionTop(const QAbstractButton* option) {
    int next = std::numeric_limits<int>::max();
    for (const QWidget* sibling :
         option->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (sibling != option && IsOption(sibling) && sibling->y() > option->y())
            next = std::min(next, sibling->y());
    return next;
}

// Where the option draws its text, in its container's coordinates: after its indicator,
// vertically centred in its height.
QPoint OptionTextTopLeft(const QAbstractButton* option) {
    QStyleOptionButton style;
    style.initFrom(option);
    style.text = option->text();
    const QStyle::SubElement contents = qobject_cast<const QRadioButton*>(option)
                                            ? QStyle::SE_RadioButtonContents
                                            : QStyle::SE_CheckBoxContents;
    const QRect text = option->style()->subElementRect(contents, &style, option);
    const int top = (option->height() - option->fontMetrics().height()) / 2;
    return option->pos() + QPoint(text.left(), top);
}

// The labels indented to the option's text below it, before the next option, top to
// bottom: its continuation lines and any note that follows them.
QList<QLabel*> IndentedLabels(const QAbstractButton* option) {
    const int nextTop = NextOptionTop(option);
    QList<QLabel*> labels;
    for (QLabel* label :
         option->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const int indent = label->x() - option->x();
        if (indent > 0 && indent <= kMostIndent && label->y() > option->y() && label->y() < nextTop)
            labels.append(label);
    }
    std::sort(labels.begin(), labels.end(),
              [](const QLabel* a, const QLabel* b) { return a->y() < b->y(); });
    return labels;
}

} // namespace

QList<QLabel*> ContinuationLines(const QAbstractButton* option) {
    // The caption ends where an empty line parts it from a note below.
    QList<QLabel*> lines;
    int lineTop = option->y();
    for (QLabel* label : IndentedLabels(option)) {
        if (label->y() - lineTop > kLinePitch * 3 / 2)
            break;
        lines.append(label);
        lineTop = label->y();
    }
    return lines;
}

QString WholeCaption(const QAbstractButton* option) {
    QString caption = option->text().trimmed();
    for (const QLabel* line : ContinuationLines(option)) {
        const QString next = line->text().trimmed();
        if (next.isEmpty())
            continue;
        if (caption.endsWith(u'-') && next.front().isLower())
            caption.chop(1);
        else
            caption += u' ';
        caption += next;
    }
    return caption;
}

void FinishContinuationLines(QWidget* window) {
    for (QAbstractButton* option : window->findChildren<QAbstractButton*>()) {
        if (!IsOption(option))
            continue;
        const QList<QLabel*> labels = IndentedLabels(option);
        if (labels.isEmpty())
            continue;
        option->setAccessibleName(WholeCaption(option));
        // The labels are laid out to start at their top with no margin of their own.
        const QPoint text = OptionTextTopLeft(option);
        const int shift = text.y() + kLinePitch - labels.first()->y();
        for (QLabel* label : labels)
            label->move(text.x(), label->y() + shift);
    }
}

} // namespace msr::questionnaire
