#include "evaluation/evaluate.h"

#include "evaluation/answers/living_area.h"
#include "evaluation/figures_record.h"
#include "evaluation/rent_index/priced_answers.h"

namespace msr {
namespace {

// The text of an evaluation for those who want none: every step is told nothing, so the
// figures alone cost no sentence.
class NoText {
public:
    void fixed(const std::vector<FixedParagraph>&) {}
    void paragraph(ParagraphKind, std::string_view) {}
    void finding(std::string_view) {}
    void section(const std::string&, const std::string&) {}
    void yearClass(const Sentence&, const YearClassRow&, const SpanFigures&) {}
    void apartment(const ApartmentRow&, const SpanFigures&) {}
    void size(const SizeClassRow&, float, const SpanFigures&) {}
    void feature(const FeatureRow&, const SpanFigures&) {}
    void mean(const Sentence&, const SpanFigures&) {}
    void finalCalculation(const Edition&, const EvaluationResult&) {}
};

// The text of an evaluation as the report's paragraphs, each sentence filled with the
// figures as the report formats them. A finding is an empty paragraph and its sentence.
class DocumentText {
public:
    DocumentText(ReportDocument& document, const std::string& separator)
        : document_(document), separator_(separator) {}

    void fixed(const std::vector<FixedParagraph>& paragraphs) {
        for (const FixedParagraph& paragraph : paragraphs)
            this->paragraph(paragraph.kind, paragraph.text);
    }

    void paragraph(ParagraphKind kind, std::string_view text) {
        switch (kind) {
        case ParagraphKind::Body:
            document_.appendBody(text);
            break;
        case ParagraphKind::Heading:
            document_.appendHeading(text);
            break;
        case ParagraphKind::Warning:
            document_.appendWarning(text);
            break;
        }
    }

    void finding(std::string_view sentence) {
        document_.appendBody("");
        document_.appendBody(sentence);
    }

    void section(const std::string& heading, const std::string& explanation) {
        document_.appendHeading(heading);
        document_.appendBody(explanation);
    }

    void yearClass(const Sentence& sentence, const YearClassRow& row, const SpanFigures& figures) {
        document_.appendBody(sentence.filled({{Hole::Period, row.period},
                                              {Hole::Low, format(figures.low)},
                                              {Hole::High, format(figures.high)},
                                              {Hole::Mean, format(figures.mean)}}));
    }

    void apartment(const ApartmentRow& row, const SpanFigures& figures) {
        finding(priced(row.sentence, row.amount, figures));
    }

    void size(const SizeClassRow& row, float livingArea, const SpanFigures& figures) {
        finding(row.sentence.filled({{Hole::LivingArea, format(livingArea)},
                                     {Hole::Amount, AmountInSentence(row.amount)},
                                     {Hole::Mean, format(figures.mean)}}));
    }

    void feature(const FeatureRow& row, const SpanFigures& figures) {
        finding(priced(row.sentence, row.amount, figures));
    }

    void mean(const Sentence& sentence, const SpanFigures& figures) {
        finding(sentence.filled({{Hole::Mean, format(figures.mean)}}));
    }

    void finalCalculation(const Edition& edition, const EvaluationResult& result) {
        document_.appendBody("");
        document_.appendWarning(edition.finalCalculationHeading);
        // The figures as FormatFinalFigures gives them to a table of figures, too.
        const FinalFigureTexts t = FormatFinalFigures(result, separator_);
        document_.appendWarning(edition.finalSentence.filled({{Hole::Mean, t.meanPerSquareMetre},
                                                              {Hole::Low, t.lowPerSquareMetre},
                                                              {Hole::High, t.highPerSquareMetre},
                                                              {Hole::LivingArea, t.livingArea},
                                                              {Hole::TotalLow, t.totalLow},
                                                              {Hole::TotalHigh, t.totalHigh},
                                                              {Hole::TotalMean, t.totalMean}}));
        fixed(edition.closingLines);
    }

private:
    // A priced sentence names its amount and, where it says so, the mean after it.
    std::string priced(const Sentence& sentence, double amount, const SpanFigures& figures) const {
        return sentence.filled(
            {{Hole::Amount, AmountInSentence(amount)}, {Hole::Mean, format(figures.mean)}});
    }

    std::string format(Extended value) const { return FormatFigure(value, separator_); }

    ReportDocument& document_;
    const std::string& separator_;
};

// One run of the evaluation: the answers, the three running figures, and the text it
// tells each step to. The rules are the same code whichever text it tells.
template <class Text> class Evaluation {
public:
    Evaluation(const Answers& answers, const Edition& edition, Text& text,
               const std::string& separator)
        : answers_(answers), edition_(edition), text_(text), separator_(separator) {}

    EvaluationResult run() {
        if (answers_.YearClass < 1 || answers_.YearClass > int(edition_.yearClasses.size()))
            throw MissingYearClass();
        livingArea_ = ToLivingArea(answers_.LivingArea, separator_);
        text_.fixed(edition_.introduction);
        yearClassSection();
        text_.fixed(edition_.adjustmentsIntroduction);
        sizeSection();
        for (const FeatureSectionRow& section : edition_.featureSections)
            featureSection(section);
        return finalCalculation();
    }

private:
    void yearClassSection() {
        text_.fixed(edition_.yearClassOpening);
        text_.paragraph(ParagraphKind::Body, "");
        const YearClassRow& row = yearClass();
        figures_ = SpanFigures{row.low, row.high, row.mean};
        text_.yearClass(edition_.yearClassSentence, row, figures_);
    }

    // The empty paragraph that opens section 1 closes the adjustments introduction; the
    // apartment surcharge ignores the size class.
    void sizeSection() {
        text_.section(edition_.sizeHeading, edition_.sizeExplanation);
        if (answers_.IsApartment) {
            if (edition_.apartment.amount != 0)
                AdjustSpan(figures_, edition_.apartment.amount);
            text_.apartment(edition_.apartment, figures_);
            return;
        }
        const SizeClassRow& row = sizeClass();
        if (row.adjusts())
            AdjustSpan(figures_, row.amount);
        text_.size(row, livingArea_, figures_);
    }

    const SizeClassRow& sizeClass() const {
        for (const SizeClassRow& row : edition_.sizeClasses)
            if (livingArea_ <= row.upTo)
                return row;
        return edition_.sizeClasses.back(); // only a living area that is no number gets here
    }

    const YearClassRow& yearClass() const {
        return edition_.yearClasses[static_cast<std::size_t>(answers_.YearClass - 1)];
    }

    // A class of its own before 1980, or the side "Baujahr vor 1980" (which the dialog
    // lets stand only beside the class split at 1980).
    bool builtBefore1980() const {
        return YearClassBefore1980(answers_.YearClass) == Before1980::Yes ||
               answers_.Built1980Side == kBuilt1980SideBefore;
    }

    void featureSection(const FeatureSectionRow& section) {
        text_.paragraph(ParagraphKind::Body, "");
        text_.section(section.heading, section.explanation);
        bool anyAnswered = false;
        for (const FeatureRow& feature : section.features)
            anyAnswered = anyAnswered || isAnswered(feature);
        if (!anyAnswered) {
            if (section.noAnswer)
                text_.finding(*section.noAnswer);
            return;
        }
        for (const FeatureRow& feature : section.features)
            if (isAnswered(feature))
                applyFeature(feature);
        if (section.closingMeanSentence)
            text_.mean(*section.closingMeanSentence, figures_);
        if (section.closingRemark)
            text_.finding(*section.closingRemark);
    }

    bool isAnswered(const FeatureRow& feature) const {
        return feature.input.valueIn(answers_) == feature.value;
    }

    void applyFeature(const FeatureRow& feature) {
        if (feature.contradiction && !builtBefore1980()) {
            text_.finding(*feature.contradiction);
            return;
        }
        if (feature.adjusts())
            AdjustSpan(figures_, feature.amount);
        text_.feature(feature, figures_);
    }

    EvaluationResult finalCalculation() {
        EvaluationResult result;
        result.livingArea = livingArea_;
        result.figures = figures_;
        const Extended area = livingArea_;
        result.totalLow = Extended(figures_.low) * area;
        result.totalHigh = Extended(figures_.high) * area;
        result.totalMean = Extended(figures_.mean) * area;
        text_.finalCalculation(edition_, result);
        return result;
    }

    const Answers& answers_;
    const Edition& edition_;
    Text& text_;
    const std::string& separator_;
    float livingArea_ = 0;
    SpanFigures figures_;
};

} // namespace

EvaluationResult Evaluate(const Answers& answers, const Edition& edition, ReportDocument& document,
                          const std::string& decimalSeparator) {
    DocumentText text(document, decimalSeparator);
    return Evaluation<DocumentText>(answers, edition, text, decimalSeparator).run();
}

EvaluationResult EvaluateFigures(const Answers& answers, const Edition& edition,
                                 const std::string& decimalSeparator) {
    NoText text;
    return Evaluation<NoText>(answers, edition, text, decimalSeparator).run();
}

} // namespace msr
