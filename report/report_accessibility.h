#pragma once

#include <QStringList>

class QWidget;

namespace msr::report {

// Lets screen readers read the report in the preview: the page view is named
// "Auswertung" on the accessibility bus, holds the report's text as a read-only
// document and has one child per paragraph, each with its text. What the view paints
// is a picture of the page; without this, a blind user would hear nothing of it.
void MakeReportReadable(QWidget* pageView, const QStringList& paragraphs);

} // namespace msr::report
