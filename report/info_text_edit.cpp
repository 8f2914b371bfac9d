#include "report/info_text_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextList>

namespace msr::report {

void InfoTextEdit::paintEvent(QPaintEvent* event) {
    QTextEdit::paintEvent(event);
    QPainter painter(viewport());
    paintBullets(painter);
}

// A bullet glyph on the first line of every listed paragraph, at the left edge where
// unbulleted text starts, in the paragraph's own font and colour.
void InfoTextEdit::paintBullets(QPainter& painter) const {
    const QPointF scrolled(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const double leftEdge = document()->documentMargin();
    painter.setPen(palette().color(QPalette::Text));
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        if (!block.textList() || !layout || layout->lineCount() == 0)
            continue;
        const QTextLine firstLine = layout->lineAt(0);
        const double baseline = layout->position().y() + firstLine.y() + firstLine.ascent();
        painter.setFont(block.charFormat().font());
        painter.drawText(QPointF(leftEdge, baseline) - scrolled, QStringLiteral("\u2022"));
    }
}

} // namespace msr::report
