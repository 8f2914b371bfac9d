#include "sample_reports.h"

#include "app/startup.h"
#include "gui/forms.h"
#include "gui/window_look.h"
#include "report/preview_window.h"
#include "report/report_pages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTextEdit>
#include <QtTest>

#include <memory>

using msr::gui::ContrastRatio;

namespace {

// A dark desktop theme as Qt programs get it: the Fusion style with a dark palette.
QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(53, 53, 53));
    dark.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
    dark.setColor(QPalette::Link, QColor(110, 170, 255));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(127, 127, 127));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(127, 127, 127));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(127, 127, 127));
    return dark;
}

// The strongest contrast of anything drawn in the area against the area's background
// (the colour of its top-left pixel): the ink of its text as the user sees it.
double InkContrast(const QImage& image) {
    const QColor background = image.pixelColor(0, 0);
    double strongest = 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            strongest = std::max(strongest, ContrastRatio(image.pixelColor(x, y), background));
    return strongest;
}

QString Described(const QWidget* control) {
    return control->window()->objectName() + "/" + control->objectName();
}

// Where a control shows its caption: the whole of a label, the text box's viewport.
QImage CaptionArea(QWidget* control) {
    if (auto* edit = qobject_cast<QTextEdit*>(control))
        return edit->viewport()->grab().toImage();
    return control->grab().toImage();
}

} // namespace

// Under a dark palette every caption of every window stays readable; under the usual
// light one the information dialog looks as laid out.
class ReportDarkPaletteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        light_ = QApplication::palette();
        msr::app::CreateWindows();
    }
    void cleanupTestCase() { msr::app::DestroyWindows(); }
    void cleanup() { QApplication::setPalette(light_); }

    void everyCaptionReadsWell_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light palette") << false;
        QTest::newRow("dark palette") << true;
    }
    void everyCaptionReadsWell() {
        QFETCH(bool, dark);
        if (dark)
            QApplication::setPalette(DarkPalette());
        auto preview = std::make_unique<msr::report::PreviewWindow>(
            std::make_shared<const msr::report::ReportPages>(
                msr::test::EvaluatedDocument(msr::test::MandatoryAnswers())));
        preview->setObjectName(QStringLiteral("Vorschau"));
        QStringList unreadable;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName().isEmpty() || window->objectName() == QLatin1String("TForm8") ||
                qobject_cast<QMenu*>(window))
                continue; // Qt's own helpers, the report window that never shows, menus
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            SaveScreenshot(window, dark);
            for (QWidget* control : window->findChildren<QWidget*>()) {
                if (!control->isVisible() || !HasCaption(control))
                    continue;
                // Unreadable is what was seen: light on light (1.0), navy on dark grey
                // (1.5), red on dark grey (3.2). On the light theme the warnings' pure
                // red on button face (3.5) is as laid out.
                const double contrast = InkContrast(CaptionArea(control));
                if (contrast < (dark ? 4.5 : 3.0))
                    unreadable << QStringLiteral("%1 (%2)")
                                      .arg(Described(control))
                                      .arg(contrast, 0, 'f', 1);
                // An empty check box or radio button must be seen as one: under the dark
                // theme its indicator stands out from the window as controls must (3 : 1).
                const double indicator = IndicatorContrast(control);
                if (dark && indicator < 3.0)
                    unreadable << QStringLiteral("%1 indicator (%2)")
                                      .arg(Described(control))
                                      .arg(indicator, 0, 'f', 1);
            }
            window->hide();
        }
        QCOMPARE(unreadable.join("; "), QString());
    }

    // On the usual light theme the text box is white (the highlight-text colour), the
    // title lines navy and blue and the modernisation notice red, as laid out.
    void lightThemeLooksAsLaidOut() {
        QWidget* dialog = Window("TForm2");
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        auto* text = dialog->findChild<QTextEdit*>(QStringLiteral("RichEdit1"));
        QCOMPARE(text->viewport()->grab().toImage().pixelColor(2, 2),
                 light_.color(QPalette::HighlightedText));
        QVERIFY(Shows(dialog->findChild<QLabel*>(QStringLiteral("Label2")), QColor(0, 0, 128)));
        QVERIFY(Shows(dialog->findChild<QLabel*>(QStringLiteral("Label3")), QColor(0, 0, 255)));
        dialog->hide();
        // The modernisation dialog's notice stays pure red.
        QWidget* modernisation = Window("TForm5");
        modernisation->show();
        QVERIFY(QTest::qWaitForWindowExposed(modernisation));
        QVERIFY(
            Shows(modernisation->findChild<QLabel*>(QStringLiteral("Label1")), QColor(255, 0, 0)));
        modernisation->hide();
    }

private:
    static bool HasCaption(const QWidget* control) {
        if (auto* label = qobject_cast<const QLabel*>(control))
            return !label->text().trimmed().isEmpty();
        if (auto* button = qobject_cast<const QAbstractButton*>(control))
            return !button->text().trimmed().isEmpty() && button->icon().isNull();
        return qobject_cast<const QTextEdit*>(control) != nullptr;
    }

    // The strongest contrast of the empty indicator of a check box or radio button against
    // the window around it; 21 for other controls.
    static double IndicatorContrast(QWidget* control) {
        QStyle::SubElement element;
        if (qobject_cast<QCheckBox*>(control))
            element = QStyle::SE_CheckBoxIndicator;
        else if (qobject_cast<QRadioButton*>(control))
            element = QStyle::SE_RadioButtonIndicator;
        else
            return 21;
        auto* option = static_cast<QAbstractButton*>(control);
        if (option->isChecked())
            return 21;
        QStyleOptionButton style;
        style.initFrom(control);
        const QRect box = control->style()->subElementRect(element, &style, control);
        const QImage image = control->grab(box).toImage();
        const QColor background = control->palette().color(QPalette::Window);
        double strongest = 1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                strongest = std::max(strongest, ContrastRatio(image.pixelColor(x, y), background));
        return strongest;
    }

    static bool Shows(QLabel* label, const QColor& colour) {
        const QImage image = label->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour)
                    return true;
        return false;
    }

    static QWidget* Window(const char* name) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String(name))
                return window;
        return nullptr;
    }

    // With MSR_SCREENSHOTS naming a folder, every window is kept there as a picture.
    static void SaveScreenshot(QWidget* window, bool dark) {
        const QString folder = qEnvironmentVariable("MSR_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        window->grab().save(QDir(folder).filePath(
            QStringLiteral("%1-%2.png").arg(window->objectName(), dark ? "dark" : "light")));
    }

    QPalette light_;
};

QTEST_MAIN(ReportDarkPaletteTest)
#include "test_report_dark_palette.moc"
