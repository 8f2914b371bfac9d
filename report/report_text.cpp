#include "report/report_text.h"

#include <QColor>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>

namespace msr::report {

QTextCharFormat ToCharFormat(const msr::CharAttributes& attributes) {
    QTextCharFormat format;
    format.setFontFamilies({QString::fromStdString(attributes.face)});
    format.setFontPointSize(attributes.twentiethsOfPoint / 20.0);
    format.setFontWeight(attributes.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(attributes.italic);
    format.setFontUnderline(attributes.underline);
    format.setFontStrikeOut(attributes.strikeout);
    format.setFontHintingPreference(QFont::PreferNoHinting);
    if (attributes.rgb)
        format.setForeground(QColor::fromRgb(*attributes.rgb));
    return format;
}

void FillTextDocument(const msr::ReportDocument& source, QTextDocument& target) {
    target.clear();
    QTextCursor cursor(&target);
    bool firstBlock = true;
    for (const msr::Paragraph& paragraph : source.paragraphs()) {
        const QTextCharFormat format = ToCharFormat(paragraph.attributes);
        if (firstBlock)
            cursor.setBlockCharFormat(format);
        else
            cursor.insertBlock(QTextBlockFormat(), format);
        firstBlock = false;
        cursor.insertText(QString::fromStdString(paragraph.text), format);
    }
}

} // namespace msr::report
