#pragma once

#include <QPixmap>
#include <QPushButton>

namespace msr::app {

// A button that shows a picture with its caption beside it, the two centred together with
// `spacing` pixels between them; leading blanks of the caption count as its width. Tag is
// an integer for the program's own bookkeeping.
class PictureButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(int Tag READ tag WRITE setTag)
    Q_PROPERTY(int spacing READ spacing WRITE setSpacing)
    Q_PROPERTY(QPixmap Glyph READ glyph WRITE setGlyph)

public:
    explicit PictureButton(QWidget* parent = nullptr);

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    int spacing() const { return spacing_; }
    void setSpacing(int spacing);

    const QPixmap& glyph() const { return glyph_; }
    void setGlyph(const QPixmap& glyph);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize pictureSize() const;
    // Picture, spacing and caption as one line.
    int contentWidth() const;

    int tag_ = 0;
    int spacing_ = 4;
    QPixmap glyph_;
};

} // namespace msr::app
