// Every caption of every window fits the place its layout gives it, at 96 dpi with the
// fonts the program uses: nothing is cut off, nothing runs into its neighbour or out of
// its container.

#include "program_fixture.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionGroupBox>

using msr::app::PictureButton;

namespace {

QWidget* Window(const QString& name) {
    for (QWidget* window : QList<QWidget*>{Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form9,
                                           Form10, Form11, Form12})
        if (window->objectName() == name)
            return window;
    return nullptr;
}

// Where a control's text is drawn, in its parent's coordinates; empty for controls
// without one.
QRect InkRect(const QWidget* control) {
    const QFontMetrics metrics = control->fontMetrics();
    const QRect box = control->geometry();
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const int width = metrics.horizontalAdvance(label->text());
        return {box.left(), box.top(), width, metrics.height()};
    }
    if (qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control)) {
        const int top = box.top() + (box.height() - metrics.height()) / 2;
        return {box.left(), top, control->sizeHint().width(), metrics.height()};
    }
    if (qobject_cast<const QAbstractButton*>(control))
        return box;
    return {};
}

// A caption that does not fit, described; empty when it fits.
QString Misfit(const QWidget* control) {
    const QRect ink = InkRect(control);
    const QString name = control->objectName();
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const int room = label->contentsRect().width();
        if (ink.width() > room)
            return QString("%1 needs %2 px, has %3").arg(name).arg(ink.width()).arg(room);
        if (ink.height() > label->height())
            return QString("%1 is %2 px high, has %3")
                .arg(name)
                .arg(ink.height())
                .arg(label->height());
    } else if (const auto* picture = qobject_cast<const PictureButton*>(control)) {
        if (picture->sizeHint().width() > picture->width())
            return QString("%1 needs %2 px").arg(name).arg(picture->sizeHint().width());
        if (picture->glyph().height() > picture->height())
            return QString("%1: picture higher than the button").arg(name);
    } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin);
        const int need = button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin;
        if (need > button->width())
            return QString("%1 needs %2 px").arg(name).arg(need);
    } else if (qobject_cast<const QCheckBox*>(control) ||
               qobject_cast<const QRadioButton*>(control)) {
        if (ink.width() > control->width())
            return QString("%1 needs %2 px, has %3")
                .arg(name)
                .arg(ink.width())
                .arg(control->width());
    } else if (const auto* box = qobject_cast<const QGroupBox*>(control)) {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                         QStyle::SC_GroupBoxLabel, box);
        if (!box->rect().contains(title))
            return QString("%1: title runs out").arg(name);
    }
    return {};
}

QStringList Misfits(QWidget* window) {
    // As the user sees it: made ready for showing, as its first showing does.
    window->ensurePolished();
    QStringList misfits;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(window) || control->objectName().isEmpty())
            continue;
        const QString misfit = Misfit(control);
        if (!misfit.isEmpty())
            misfits.append(misfit);
        // The main window's title panel reaches 2 px past both sides, hiding its edges.
        const bool reachesOut = control->objectName() == "Panel1" && window == Form1;
        QWidget* container = control->parentWidget();
        if (!reachesOut && !container->rect().contains(control->geometry()))
            misfits.append(control->objectName() + " sticks out of " + container->objectName());
    }
    return misfits;
}

QStringList Collisions(QWidget* window) {
    window->ensurePolished();
    QStringList collisions;
    for (QWidget* container : window->findChildren<QWidget*>()) {
        QList<QWidget*> controls;
        for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisibleTo(window) && !InkRect(child).isEmpty())
                controls.append(child);
        for (int i = 0; i < controls.size(); ++i)
            for (int j = i + 1; j < controls.size(); ++j)
                if (InkRect(controls[i]).intersects(InkRect(controls[j])))
                    collisions.append(controls[i]->objectName() + " runs into " +
                                      controls[j]->objectName());
    }
    return collisions;
}

} // namespace

class WindowFitTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        msr::app::PrepareApplication(*qApp);
        windows_ = std::make_unique<ProgramWindows>();
    }
    void cleanupTestCase() { windows_.reset(); }

    void everyCaptionFits_data() {
        QTest::addColumn<QString>("window");
        for (const char* window : {"TForm1", "TForm2", "TForm3", "TForm4", "TForm5", "TForm6",
                                   "TForm7", "TForm9", "TForm10", "TForm11", "TForm12"})
            QTest::newRow(window) << QString(window);
    }
    void everyCaptionFits() {
        QFETCH(QString, window);
        QCOMPARE(Misfits(Window(window)).join("; "), QString());
    }

    void noCaptionRunsIntoAnother_data() { everyCaptionFits_data(); }
    void noCaptionRunsIntoAnother() {
        QFETCH(QString, window);
        QCOMPARE(Collisions(Window(window)).join("; "), QString());
    }

    // Where the platform lacks "MS Sans Serif", every text the layouts give in it, 8 or 9
    // points, is written in the stand-in at 7.5 points; the other faces stay as given.
    void everyControlWritesInTheStandIn_data() { everyCaptionFits_data(); }
    void everyControlWritesInTheStandIn() {
        if (QFontDatabase::families().contains(QStringLiteral("MS Sans Serif")))
            QSKIP("The platform has MS Sans Serif itself");
        QFETCH(QString, window);
        QWidget* form = Window(window);
        QStringList strays;
        for (QWidget* control : QList<QWidget*>{form} + form->findChildren<QWidget*>()) {
            // Pop-up lists and menus are windows of their own.
            if (control->isWindow() && control != form)
                continue;
            const QFont font = control->font();
            if (font.family() == QStringLiteral("MS Sans Serif") ||
                (font.family() == QStringLiteral("Liberation Sans") && font.pointSizeF() != 7.5))
                strays.append(control->objectName() + ": " + font.toString());
        }
        QCOMPARE(strays.join("; "), QString());
    }

    void theStandInKeepsWhatElseTheLayoutGives() {
        if (QFontDatabase::families().contains(QStringLiteral("MS Sans Serif")))
            QSKIP("The platform has MS Sans Serif itself");
        QVERIFY(Find<QGroupBox>(Form1, "GroupBox1")->font().bold());
        QVERIFY(!Find<msr::app::PictureButton>(Form1, "SpeedButton11")->font().bold());
        QVERIFY(Find<QLabel>(Form10, "Label8")->font().underline());
        const auto* ok = Form2->findChild<QPushButton*>(QStringLiteral("Button1"));
        QCOMPARE(ok->font().family(), QStringLiteral("Liberation Sans"));
        QVERIFY(ok->font().bold());
        const auto* title = Form2->findChild<QLabel*>(QStringLiteral("Label2"));
        QCOMPARE(title->font().family(), QStringLiteral("Arial Black"));
        QCOMPARE(title->font().pointSizeF(), 12.0);
    }

    void theLongestCaptionsFitWithTheAnsweredPictureToo() {
        for (PictureButton* button : Form1->QuestionnaireButtons())
            Form1->MarkAnswered(button);
        QCOMPARE(Misfits(Form1).join("; "), QString());
    }

private:
    std::unique_ptr<ProgramWindows> windows_;
};

QTEST_MAIN(WindowFitTest)
#include "test_app_window_fit.moc"
