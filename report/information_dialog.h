#pragma once

#include <QDialog>

#include <memory>
#include <string>

class QTextEdit;

namespace Ui {
class TForm2;
}

// The information dialog "Mietspiegel: Information": who made the calculator, which
// rent index it implements, the bodies behind it and how to reach the association.
// Its text is filled once, when it is created.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    // Registers itself as Form2 before filling its text, which AppendInfoLine writes
    // through the global instance.
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // Fills RichEdit1 with the 23 paragraphs; runs once, from the constructor.
    void FormCreate(QObject* sender);
    // Each showing starts at the beginning of the text.
    void FormShow(QObject* sender);
    // "OK": closes the dialog.
    void Button1Click(QObject* sender);

    QTextEdit* infoText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What a control needs only once it is about to be seen: the artwork of Image1, the
    // size of the title lines Label2 and Label3.
    void prepareForShowing(QObject* control);
    void applyColours();
    void setBullet(bool on);
    void returnToStart();

    std::unique_ptr<Ui::TForm2> ui_;
};

// Appends the text as the new last paragraph of Form2's information text, leaving every
// attribute as it is.
void AppendInfoLine(const std::string& text);
