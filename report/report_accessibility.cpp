#include "report/report_accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

#include <vector>

namespace msr::report {
namespace {

const char* const kParagraphsProperty = "msrReportParagraphs";
const QString kName = QStringLiteral("Auswertung");

// Text to be read, not edited: no caret, no selection, no attributes.
class ReadOnlyText : public QAccessibleTextInterface {
public:
    explicit ReadOnlyText(QString text) : text_(std::move(text)) {}

    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        return text_.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(text_.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = offset;
        *endOffset = offset;
        return {};
    }

protected:
    const QString& wholeText() const { return text_; }

private:
    QString text_;
};

// One paragraph of the report, a child of the page view.
class ParagraphAccessible : public QAccessibleInterface, public ReadOnlyText {
public:
    ParagraphAccessible(QAccessibleInterface* view, QString text)
        : ReadOnlyText(std::move(text)), view_(view) {}

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_->window(); }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return view_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? wholeText() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return view_->rect(); }
    QAccessible::Role role() const override { return QAccessible::Paragraph; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : nullptr;
    }

private:
    QAccessibleInterface* view_;
};

// The page view as a read-only document: its text is the report's, paragraph after
// paragraph on lines of their own, and its children are the paragraphs.
class ReportViewAccessible : public QAccessibleWidget, public ReadOnlyText {
public:
    ReportViewAccessible(QWidget* view, const QStringList& paragraphs)
        : QAccessibleWidget(view, QAccessible::Document, kName),
          ReadOnlyText(paragraphs.join(QLatin1Char('\n'))) {
        for (const QString& paragraph : paragraphs)
            children_.push_back(
                QAccessible::registerAccessibleInterface(new ParagraphAccessible(this, paragraph)));
    }
    ~ReportViewAccessible() override {
        for (QAccessible::Id id : children_)
            QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return kName;
        if (t == QAccessible::Value)
            return wholeText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }
    int childCount() const override { return int(children_.size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        return QAccessible::accessibleInterface(children_[std::size_t(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t index = 0; index < children_.size(); ++index)
            if (QAccessible::accessibleInterface(children_[index]) == child)
                return int(index);
        return -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

private:
    std::vector<QAccessible::Id> children_;
};

QAccessibleInterface* ReportViewFactory(const QString&, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    const QVariant paragraphs = object->property(kParagraphsProperty);
    if (!paragraphs.isValid())
        return nullptr;
    return new ReportViewAccessible(static_cast<QWidget*>(object), paragraphs.toStringList());
}

} // namespace

void MakeReportReadable(QWidget* pageView, const QStringList& paragraphs) {
    static const bool installed = [] {
        QAccessible::installFactory(ReportViewFactory);
        return true;
    }();
    Q_UNUSED(installed);
    pageView->setProperty(kParagraphsProperty, paragraphs);
    pageView->setAccessibleName(kName);
}

} // namespace msr::report
