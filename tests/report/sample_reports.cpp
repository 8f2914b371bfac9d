#include "sample_reports.h"

#include "evaluation/evaluate.h"

#include <string>

namespace msr::test {

msr::Answers MandatoryAnswers() {
    msr::Answers answers;
    answers.YearClass = 3;
    answers.LivingArea = "75";
    answers.CityArea = 2;
    return answers;
}

msr::Answers AllFeaturesAnswers() {
    msr::Answers answers = MandatoryAnswers();
    answers.Built1980Side = 1;
    answers.IsApartment = true;
    answers.GuestToilet = true;
    answers.TubAndShower = true;
    answers.FloorCovering = 2;
    answers.HeatingKind = 3;
    answers.CaptiveRooms = true;
    answers.NoKitchenHotWater = true;
    answers.BalconyOrLoggia = true;
    answers.Terrace = true;
    answers.SoundproofWindows = true;
    answers.BarrierFree = 1;
    answers.HeatingRenewed = true;
    answers.BathRenewed = true;
    answers.Insulation = 2;
    answers.NoiseImpairment = true;
    return answers;
}

msr::ReportDocument EvaluatedDocument(const msr::Answers& answers) {
    msr::ReportDocument document;
    msr::Evaluate(answers, document, ",");
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

} // namespace msr::test
