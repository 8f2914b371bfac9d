#include "sample_reports.h"
#include "tests/samples/built_in_edition.h"

#include "evaluation/evaluate.h"

#include <string>

namespace msr::test {

msr::ReportDocument EvaluatedDocument(const msr::Answers& answers) {
    msr::ReportDocument document;
    msr::Evaluate(answers, msr::test::BuiltInEdition(), document, ",");
    return document;
}

msr::ReportDocument ShortDocument() {
    msr::ReportDocument document;
    document.appendHeading("Kurzer Bericht");
    document.appendBody("Erste Zeile");
    document.appendBody("");
    document.appendBody("Letzte Zeile");
    return document;
}

msr::ReportDocument LongDocument(int paragraphs) {
    msr::ReportDocument document;
    for (int i = 1; i <= paragraphs; ++i)
        document.appendBody("Absatz" + std::to_string(i) +
                            " mit so viel Text, dass er in der Spalte des Berichts "
                            "umbrechen muss und zwei Zeilen belegt.");
    return document;
}

msr::ReportDocument SpacedDocument(int paragraphs, int emptyAfterEach) {
    msr::ReportDocument document;
    for (int i = 1; i <= paragraphs; ++i) {
        document.appendBody("Absatz" + std::to_string(i) + " mit etwas Text.");
        for (int empty = 0; empty < emptyAfterEach; ++empty)
            document.appendBody("");
    }
    return document;
}

} // namespace msr::test
