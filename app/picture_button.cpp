#include "app/picture_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace msr::app {

PictureButton::PictureButton(QWidget* parent) : QPushButton(parent) {}

void PictureButton::setSpacing(int spacing) {
    spacing_ = spacing;
    updateGeometry();
    update();
}

void PictureButton::setGlyph(const QPixmap& glyph) {
    glyph_ = glyph;
    updateGeometry();
    update();
}

QSize PictureButton::pictureSize() const {
    return glyph_.deviceIndependentSize().toSize();
}

int PictureButton::contentWidth() const {
    const int captionWidth =
        text().isEmpty() ? 0 : spacing_ + fontMetrics().horizontalAdvance(text());
    return pictureSize().width() + captionWidth;
}

QSize PictureButton::sizeHint() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const QSize content(contentWidth(), qMax(pictureSize().height(), fontMetrics().height()));
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, content, this);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown())
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    const QSize picture = pictureSize();
    const int left = area.left() + (area.width() - contentWidth()) / 2;
    painter.drawPixmap(left, area.top() + (area.height() - picture.height()) / 2, glyph_);
    const QRect caption(left + picture.width() + spacing_, area.top(),
                        area.right() - left - picture.width() - spacing_ + 1, area.height());
    painter.drawItemText(caption, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), text(),
                         QPalette::ButtonText);
}

} // namespace msr::app
